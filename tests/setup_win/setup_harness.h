// Runs the real installer in-process under Wine: the SETUP dialog is filled
// in and its buttons pressed from inside its modal loop, message boxes are
// recorded and answered as they open, the source files live in a fresh
// folder, and the registry key is removed before and after.
#ifndef SETUP_HARNESS_H
#define SETUP_HARNESS_H

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "setup/setup_state.h"

namespace harness {

inline std::deque<std::function<void(HWND)>> &boxActions()
{
    static std::deque<std::function<void(HWND)>> q;
    return q;
}
inline std::deque<std::function<void()>> &laterActions()
{
    static std::deque<std::function<void()>> q;
    return q;
}
inline std::vector<std::string> &boxTexts()
{
    static std::vector<std::string> v;
    return v;
}
inline std::function<void(HWND)> &dialogAction()
{
    static std::function<void(HWND)> f;
    return f;
}
inline int &unexpectedBoxes()
{
    static int n;
    return n;
}

inline std::string textOf(HWND w)
{
    char buf[512] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

inline void CALLBACK runLater(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    if (laterActions().empty()) return;
    std::function<void()> f = laterActions().front();
    laterActions().pop_front();
    f();
}

// Runs f from the message loop that is current a little later.
inline void later(std::function<void()> f, int ms = 30)
{
    laterActions().push_back(f);
    SetTimer(NULL, 0, ms, runLater);
}

inline LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND w = (HWND)wParam;
        char cls[32];
        GetClassNameA(w, cls, sizeof cls);
        if (strcmp(cls, "#32770") == 0 && !GetPropA(w, "harness.seen")) {
            SetPropA(w, "harness.seen", (HANDLE)1);
            if (GetDlgItem(w, IDC_SETUP_DIR)) {
                if (dialogAction()) later([w] { dialogAction()(w); });
            } else {
                boxTexts().push_back(textOf(GetDlgItem(w, 0xFFFF)));
                std::function<void(HWND)> action;
                if (!boxActions().empty()) {
                    action = boxActions().front();
                    boxActions().pop_front();
                } else {
                    ++unexpectedBoxes();
                    action = [](HWND b) { PostMessageA(b, WM_COMMAND, IDNO, 0); PostMessageA(b, WM_COMMAND, IDOK, 0); };
                }
                later([w, action] { if (IsWindow(w)) action(w); });
            }
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

inline void answer(int id)
{
    boxActions().push_back([id](HWND b) { PostMessageA(b, WM_COMMAND, id, 0); });
}

// Fills the SETUP dialog and presses OK (or another button).
inline std::function<void(HWND)> fill(const char *dir, bool icons, int button = IDC_SETUP_OK)
{
    std::string d = dir ? dir : "";
    bool keep = dir == nullptr;
    return [d, keep, icons, button](HWND dlg) {
        if (!keep) SetDlgItemTextA(dlg, IDC_SETUP_DIR, d.c_str());
        CheckDlgButton(dlg, IDC_SETUP_ICONS, icons ? BST_CHECKED : BST_UNCHECKED);
        PostMessageA(dlg, WM_COMMAND, button, 0);
    };
}

inline bool &timedOut()
{
    static bool b;
    return b;
}

inline void CALLBACK watchdog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    timedOut() = true;
    if (IsWindow(st.setupDialog)) PostMessageA(st.setupDialog, WM_COMMAND, IDC_SETUP_CANCEL, 0);
}

// One whole run of the program as WinMain runs it, bounded by a watchdog
// that cancels the dialog if the run hangs. Returns the exit code.
inline int runOnce(std::function<void(HWND)> onDialog, int timeoutMs = 20000)
{
    boxTexts().clear();
    unexpectedBoxes() = 0;
    dialogAction() = onDialog;
    HHOOK hook = SetWindowsHookExA(WH_CBT, cbtProc, NULL, GetCurrentThreadId());
    timedOut() = false;
    UINT_PTR timer = SetTimer(NULL, 0, timeoutMs, watchdog);
    int code = runSetup(GetModuleHandleA(NULL));
    KillTimer(NULL, timer);
    UnhookWindowsHookEx(hook);
    boxActions().clear();
    laterActions().clear();
    dialogAction() = nullptr;
    if (timedOut()) boxTexts().push_back("(timed out)");
    return code;
}

// Source and destination folders of one test program, under the Windows
// temp directory and drive C.
inline std::string tempDir(const char *name)
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s%s_%lu", base, name, (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(path, NULL);
    return path;
}

inline void writeFile(const std::string &path, const std::string &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

inline std::string readFile(const std::string &path)
{
    std::string out;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return "(missing)";
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    fclose(f);
    return out;
}

inline bool exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a folder tree (test folders only).
inline void removeTree(const std::string &dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string p = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(p);
            else DeleteFileA(p.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

inline void deleteSetupKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ostrel\\Quillon");
}

inline std::string readHdir()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Quillon", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(no key)";
    char buf[512] = "";
    DWORD size = sizeof buf, type = 0;
    LONG r = RegQueryValueExA(key, "hdir", NULL, &type, (BYTE *)buf, &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ) return "(no value)";
    return buf;
}

// The three source files in a fresh folder made current; 'skip' names an
// extension left out.
inline std::string makeSources(const std::string &tag, const char *skip = nullptr)
{
    std::string dir = tempDir("setup_src");
    const char *exts[] = {".exe", ".hlp", ".txt"};
    for (const char *e : exts) {
        std::string p = dir + "\\quillon95" + e;
        DeleteFileA(p.c_str());
        if (!skip || strcmp(skip, e) != 0) writeFile(p, tag + e + std::string(300, 'x'));
    }
    SetCurrentDirectoryA(dir.c_str());
    return dir;
}

}  // namespace harness

#endif
