#include "wintest.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <deque>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "shell/shell.h"

namespace wintest {

namespace {

HHOOK hook;
std::deque<std::function<void(HWND)>> actions;
std::vector<SeenBox> seen;

struct Pending {
    HWND box;
    std::function<void(HWND)> action;
};
std::deque<Pending> pending;
UINT_PTR actionTimer;

bool isMessageBox(HWND wnd)
{
    return GetDlgItem(wnd, 0xFFFF) != NULL;
}

// Runs inside the box's own modal loop, once the box is fully up.
void CALLBACK runPending(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    actionTimer = 0;
    while (!pending.empty()) {
        Pending p = pending.front();
        pending.pop_front();
        if (IsWindow(p.box)) p.action(p.box);
    }
}

LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND wnd = (HWND)wParam;
        char cls[32];
        GetClassNameA(wnd, cls, sizeof cls);
        bool known = false;
        for (const Pending &p : pending) known = known || p.box == wnd;
        if (strcmp(cls, "#32770") == 0 && !known && GetPropA(wnd, "wintest.seen") == NULL) {
            SetPropA(wnd, "wintest.seen", (HANDLE)1);
            SeenBox box;
            box.caption = windowText(wnd);
            box.text = isMessageBox(wnd) ? windowText(GetDlgItem(wnd, 0xFFFF)) : "";
            box.answered = !actions.empty();
            std::function<void(HWND)> action;
            if (!actions.empty()) {
                action = actions.front();
                actions.pop_front();
            } else {
                // Nobody expected it: record it and get it out of the way.
                action = [](HWND w) {
                    if (isMessageBox(w)) PostMessageA(w, WM_COMMAND, IDNO, 0);
                    else PostMessageA(w, WM_CLOSE, 0, 0);
                };
            }
            seen.push_back(box);
            pending.push_back({wnd, action});
            if (!actionTimer) actionTimer = SetTimer(NULL, 0, 1, runPending);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void installBoxHook()
{
    if (!hook) hook = SetWindowsHookExA(WH_CBT, cbtProc, NULL, GetCurrentThreadId());
}

void removeBoxHook()
{
    if (hook) UnhookWindowsHookEx(hook);
    hook = NULL;
    actions.clear();
}

void onNextBox(std::function<void(HWND)> action) { actions.push_back(action); }

void answerNextBox(int buttonId)
{
    onNextBox([buttonId](HWND box) { PostMessageA(box, WM_COMMAND, buttonId, 0); });
}

std::vector<SeenBox> &seenBoxes() { return seen; }
void clearSeenBoxes() { seen.clear(); }

int unansweredBoxes()
{
    int n = 0;
    for (const SeenBox &b : seen) n += !b.answered;
    return n;
}

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (!ed.mainWnd || !TranslateAcceleratorA(ed.mainWnd, ed.accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void repaint()
{
    InvalidateRect(ed.hexViewWnd, NULL, TRUE);
    UpdateWindow(ed.hexViewWnd);
    pump();
    UpdateWindow(ed.hexViewWnd);
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (condition()) return true;
        if ((int)(GetTickCount() - start) > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

HHOOK loopHook;
std::function<void(const MSG &)> loopWatch;
bool quitPosted, gaveUp;

LRESULT CALLBACK watchLoop(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        if (loopWatch) loopWatch(*(const MSG *)lParam);
        if (!ed.searching && !quitPosted) {
            quitPosted = true;
            PostQuitMessage(0);
        }
    }
    return CallNextHookEx(loopHook, code, wParam, lParam);
}

void CALLBACK giveUp(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    gaveUp = true;
    ed.searching = 0;
    PostQuitMessage(0);
}

}  // namespace

bool runUntilSearchEnds(const std::function<void(const MSG &)> &watch)
{
    loopWatch = watch;
    quitPosted = gaveUp = false;
    loopHook = SetWindowsHookExA(WH_GETMESSAGE, watchLoop, NULL, GetCurrentThreadId());
    UINT_PTR guard = SetTimer(NULL, 0, 30000, giveUp);
    PostMessageA(ed.mainWnd, WM_NULL, 0, 0);
    runMessageLoop();
    KillTimer(NULL, guard);
    UnhookWindowsHookEx(loopHook);
    loopWatch = nullptr;
    return !gaveUp;
}

bool runDialog(const std::function<void()> &open, const std::function<void(HWND)> &action)
{
    bool ran = false;
    onNextBox([&](HWND dlg) {
        ran = true;
        // Shown now rather than when its loop first idles, so that
        // EndDialog's hiding tells whether it was ended.
        ShowWindow(dlg, SW_SHOW);
        action(dlg);
        if (IsWindow(dlg)) PostMessageA(dlg, WM_CLOSE, 0, 0);
    });
    open();
    return ran;
}

std::string itemText(HWND dlg, int id) { return windowText(GetDlgItem(dlg, id)); }
bool isChecked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
bool menuGrayed(int id) { return (GetMenuState(ed.menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

void deleteSettings() { RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ostrel\\Quillon"); }

// Walks the import directory of the program's own image: the same on i686
// and x86_64, where the linker's names for the slots differ.
void **importSlot(const char *dll, const char *function)
{
    BYTE *base = (BYTE *)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports); d->Name; ++d) {
        if (lstrcmpiA((const char *)(base + d->Name), dll) != 0) continue;
        IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slots = (IMAGE_THUNK_DATA *)(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME *named = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (strcmp((const char *)named->Name, function) == 0) return (void **)&slots->u1.Function;
        }
    }
    return NULL;
}

EditorSession::EditorSession(const char *args, int show, bool keepSettings) : started_(false)
{
    if (!keepSettings) deleteSettings();
    installBoxHook();
    clearSeenBoxes();
    resetEditorState();
    if (!allocateBlocks()) return;
    HINSTANCE inst = GetModuleHandleA(NULL);
    if (!registerMainClass(inst)) return;
    started_ = initInstance(inst, args, show) != FALSE;
    pump();
}

void EditorSession::close()
{
    if (ed.mainWnd && IsWindow(ed.mainWnd)) {
        HWND wnd = ed.mainWnd;
        PostMessageA(wnd, WM_CLOSE, 0, 0);
        waitFor([wnd] { return !IsWindow(wnd); });
    }
    // The main window posts WM_QUIT as it goes; take it off the queue.
    MSG msg;
    while (PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

EditorSession::~EditorSession()
{
    close();
    if (ed.fileHandle >= 0) _lclose((HFILE)ed.fileHandle);
    ed.fileHandle = -1;
    freeBlocks();
    HINSTANCE inst = GetModuleHandleA(NULL);
    UnregisterClassA("QuillonbaseClass", inst);
    UnregisterClassA("QuillonWClass", inst);
    removeBoxHook();
    ed.mainWnd = ed.hexViewWnd = ed.statusWnd = NULL;
}

void chooseInOpenDialog(const std::wstring &path)
{
    onNextBox([path](HWND box) {
        HWND name = GetDlgItem(box, 0x47C);             // the file name combo box
        if (!name) name = GetDlgItem(box, 0x480);       // or the plain edit field
        SetWindowTextW(name, path.c_str());
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
    });
}

std::string tempPath(const std::string &name)
{
    static std::string folder;
    if (folder.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char self[MAX_PATH];
        GetModuleFileNameA(NULL, self, sizeof self);
        const char *base = strrchr(self, '\\');
        folder = std::string(temp) + "qtest-" + (base ? base + 1 : self) + "-" +
                 std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), NULL);
    }
    return folder + "\\" + name;
}

std::string writeTempFile(const std::string &name, const std::vector<unsigned char> &bytes)
{
    std::string path = tempPath(name);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    FILE *f = fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

std::string writeSparseFile(const std::string &name, int64_t size, const std::vector<FilePiece> &pieces)
{
    std::string path = tempPath(name);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return "";
    LARGE_INTEGER at;
    DWORD done = 0;
    bool made = true;
    for (const FilePiece &p : pieces) {
        at.QuadPart = p.offset;
        made = made && SetFilePointerEx(h, at, NULL, FILE_BEGIN) &&
               WriteFile(h, p.bytes.data(), (DWORD)p.bytes.size(), &done, NULL) && done == p.bytes.size();
    }
    at.QuadPart = size;
    made = made && SetFilePointerEx(h, at, NULL, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return made ? path : "";
}

std::vector<unsigned char> readFile(const std::string &path)
{
    std::vector<unsigned char> bytes;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}

std::vector<unsigned char> patternBytes(size_t count, unsigned seed)
{
    std::vector<unsigned char> bytes(count);
    unsigned x = seed * 2654435761u + 1;
    for (size_t i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = (unsigned char)(x >> 16);
    }
    return bytes;
}

std::string windowText(HWND wnd)
{
    char text[1024];
    text[0] = '\0';
    if (wnd) GetWindowTextA(wnd, text, sizeof text);
    return text;
}

std::string statusText(int part)
{
    if (!ed.statusWnd) return "";
    char text[512];
    text[0] = '\0';
    LRESULT r = SendMessageA(ed.statusWnd, SB_GETTEXTLENGTHA, part, 0);
    if (LOWORD(r) >= sizeof text) return "";
    SendMessageA(ed.statusWnd, SB_GETTEXTA, part, (LPARAM)text);
    return text;
}

void sizeViewTo(int height, int width)
{
    // Twice: a narrower menu bar may take another line.
    for (int pass = 0; pass < 2; ++pass) {
        RECT w, c;
        GetWindowRect(ed.mainWnd, &w);
        GetClientRect(ed.mainWnd, &c);
        int across = width > 0 ? width : c.right;
        MoveWindow(ed.mainWnd, 0, 0, across + (w.right - w.left) - c.right,
                   height + STATUS_BAND + (w.bottom - w.top) - c.bottom, TRUE);
    }
}

}  // namespace wintest
