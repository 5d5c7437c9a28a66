// Drives the real programs from outside, for the end-to-end scripts.
// Each invocation runs one verb and prints what it found; a verb that
// waits gives up after its timeout and exits with 1.
//
//   qdrive wait-window CLASS [MS]            print the window's handle
//   qdrive title CLASS                       print the window's title, in UTF-8
//   qdrive wait-title CLASS TEXT [MS]        wait until the title contains TEXT; print it
//   qdrive wait-active CLASS [MS]            wait until that window is the active one,
//                                            which the keyboard types into
//   qdrive painted CLASS [MS]                wait until the window is shown, then have
//                                            every window of its thread paint what is
//                                            due (WM_PAINT, sent: it has drawn on return)
//   qdrive child-text CLASS CHILDCLASS TEXT [MS]  wait until a descendant of that class
//                                            has text that contains TEXT (WM_GETTEXT);
//                                            print it, in UTF-8
//   qdrive command CLASS ID [LPARAM]         post WM_COMMAND
//   qdrive post CLASS MSG WPARAM LPARAM      post any message (numbers)
//   qdrive chars CLASS TEXT                  post WM_CHAR for each character
//   qdrive wait-box TEXT [MS]                wait for a message box or dialog whose
//                                            caption or text contains TEXT; print
//                                            "caption|text"
//   qdrive answer-box TEXT ID [MS]           wait-box, post WM_COMMAND ID to it, and wait
//                                            until it is gone: the call that showed it
//                                            has returned before the next step
//   qdrive list-items TEXT [MS]              print the items of that box's list box
//   qdrive dialog-set TEXT CTLID VALUE [MS]  set a control's text in that dialog, until
//                                            it reads back
//   qdrive dialog-click TEXT CTLID [MS]      click a button of that dialog
//   qdrive dialog-type TEXT CTLID CHARS [MS] post WM_CHAR for each character to a
//                                            control of that dialog, as typing does
//   qdrive dialog-command TEXT CTLID [MS]    post the button's BN_CLICKED command to
//                                            that dialog (needs no focus)
//   qdrive dialog-check TEXT CTLID 0|1 [MS]  clear or set a button's check mark
//   qdrive dialog-text TEXT CTLID [MS]       print a control's text
//   qdrive status CLASS PART                 print the text of a status bar part
//   qdrive wait-status CLASS PART TEXT [MS]  wait until that part contains TEXT
//   qdrive wait-gone CLASS [MS]              wait until no such window exists
//   qdrive move CLASS X Y WIDTH HEIGHT       move and size a top-level window
//   qdrive rect CLASS                        print "left top width height"
//   qdrive zoomed CLASS                      print 1 if maximized, else 0
//   qdrive child-point CLASS CHILDID X Y     print the screen point of a client point
//                                            of a child window
//   qdrive dialog-click-all TEXT CTLID N [MS] wait until N dialogs match TEXT, then
//                                            click that button in all of them at once;
//                                            print "caption|text" of each
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

extern "C" LONG NTAPI NtMapViewOfSection(HANDLE, HANDLE, PVOID *, ULONG_PTR, SIZE_T, PLARGE_INTEGER, PSIZE_T,
                                         DWORD, ULONG, ULONG);
extern "C" LONG NTAPI NtUnmapViewOfSection(HANDLE, PVOID);

namespace {

long number(const char *s) { return strtol(s, NULL, 0); }

bool late(DWORD start, int ms) { return (int)(GetTickCount() - start) > ms; }

HWND findTop(const char *cls) { return FindWindowA(cls, NULL); }

HWND waitWindow(const char *cls, int ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND w = findTop(cls);
        if (w) return w;
        if (late(start, ms)) return NULL;
        Sleep(20);
    }
}

std::string textOf(HWND w)
{
    char buf[1024];
    buf[0] = '\0';
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

// In UTF-8, as the Linux side names files: a title may show a name that
// the code page cannot spell.
std::string utf8(const wchar_t *wide)
{
    static char text[4 * 8192];
    if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL)) text[0] = '\0';
    return text;
}

std::string titleOf(HWND w)
{
    wchar_t wide[1024];
    if (!GetWindowTextW(w, wide, 1024)) wide[0] = L'\0';
    return utf8(wide);
}

// WM_GETTEXT, which the system carries across processes; an edit field's
// text is not its window text for another process.
std::string sentText(HWND w, bool wide)
{
    static wchar_t text[8192];
    text[0] = L'\0';
    if (wide) {
        SendMessageW(w, WM_GETTEXT, 8192, (LPARAM)text);
        return utf8(text);
    }
    char *ansi = (char *)text;
    SendMessageA(w, WM_GETTEXT, sizeof text, (LPARAM)ansi);
    return ansi;
}

struct ChildSearch {
    const char *cls;
    HWND found;
};

BOOL CALLBACK findChild(HWND w, LPARAM lp)
{
    ChildSearch *s = (ChildSearch *)lp;
    char cls[64];
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, s->cls) != 0) return TRUE;
    s->found = w;
    return FALSE;
}

// The first window of class CLS among all the descendants of TOP.
HWND descendant(HWND top, const char *cls)
{
    ChildSearch s = {cls, NULL};
    EnumChildWindows(top, findChild, (LPARAM)&s);
    return s.found;
}

struct BoxSearch {
    const char *needle;
    HWND found;
    std::string caption, text;
};

BOOL CALLBACK staticText(HWND child, LPARAM lp)
{
    std::string *all = (std::string *)lp;
    char cls[32];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        std::string t = textOf(child);
        if (!t.empty()) {
            if (!all->empty()) *all += "\n";
            *all += t;
        }
    }
    return TRUE;
}

BOOL CALLBACK findBox(HWND w, LPARAM lp)
{
    BoxSearch *s = (BoxSearch *)lp;
    char cls[32];
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    std::string caption = textOf(w), text;
    HWND msg = GetDlgItem(w, 0xFFFF);
    if (msg) text = textOf(msg);
    else EnumChildWindows(w, staticText, (LPARAM)&text);
    if (caption.find(s->needle) != std::string::npos || text.find(s->needle) != std::string::npos) {
        s->found = w;
        s->caption = caption;
        s->text = text;
        return FALSE;
    }
    return TRUE;
}

struct AllBoxes {
    const char *needle;
    std::vector<HWND> found;
    std::vector<std::string> texts;     // "caption|text" of each
};

BOOL CALLBACK findAllBoxes(HWND w, LPARAM lp)
{
    AllBoxes *all = (AllBoxes *)lp;
    BoxSearch s = {all->needle, NULL, "", ""};
    findBox(w, (LPARAM)&s);
    if (s.found) {
        all->found.push_back(w);
        all->texts.push_back(s.caption + "|" + s.text);
    }
    return TRUE;
}

HWND waitBox(const char *needle, int ms, std::string *caption, std::string *text)
{
    DWORD start = GetTickCount();
    for (;;) {
        BoxSearch s = {needle, NULL, "", ""};
        EnumWindows(findBox, (LPARAM)&s);
        if (s.found) {
            if (caption) *caption = s.caption;
            if (text) *text = s.text;
            return s.found;
        }
        if (late(start, ms)) return NULL;
        Sleep(20);
    }
}

// SB_GETTEXT writes the text where its pointer says, in the status bar's
// process: into a section that this process maps as well, so the text is
// read here. Read through ReadProcessMemory, the Wine server reads the
// other process at that address, which under user-mode emulation (a 32-bit
// program on a host that runs none) is not where the emulated program's
// memory lies: it read other bytes there.
std::string statusPart(HWND top, int part)
{
    HWND bar = FindWindowExA(top, NULL, STATUSCLASSNAMEA, NULL);
    if (!bar || LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0)) >= 1000) return "";
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION, FALSE, pid);
    HANDLE section = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 1024, NULL);
    const char *here = section ? (const char *)MapViewOfFile(section, FILE_MAP_READ, 0, 0, 1024) : NULL;
    void *there = NULL;
    SIZE_T size = 0;
    std::string result;
    if (proc && here && NtMapViewOfSection(section, proc, &there, 0, 0, NULL, &size, 2 /* ViewUnmap */, 0,
                                           PAGE_READWRITE) == 0) {
        SendMessageA(bar, SB_GETTEXTA, part, (LPARAM)there);
        result.assign(here, strnlen(here, 1023));
        NtUnmapViewOfSection(proc, there);
    }
    if (here) UnmapViewOfFile(here);
    if (section) CloseHandle(section);
    if (proc) CloseHandle(proc);
    return result;
}

BOOL CALLBACK paintNow(HWND w, LPARAM)
{
    if (IsWindowVisible(w)) RedrawWindow(w, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

int fail(const std::string &what)
{
    fprintf(stderr, "qdrive: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) return fail("no verb");
    std::string verb = argv[1];
    auto arg = [&](int i) -> const char * { return i < argc ? argv[i] : ""; };
    auto ms = [&](int i) { return i < argc ? (int)number(argv[i]) : 10000; };
    // A text to find in a title or a window's text, in UTF-8 as they are read.
    int wideCount = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    auto needle = [&](int i) { return i < wideCount ? utf8(wide[i]) : std::string(); };
    DWORD start = GetTickCount();

    if (verb == "dialog-click-all") {
        for (;;) {
            AllBoxes all = {arg(2), {}, {}};
            EnumWindows(findAllBoxes, (LPARAM)&all);
            if ((long)all.found.size() >= number(arg(4))) {
                for (HWND box : all.found) {
                    HWND button = GetDlgItem(box, (int)number(arg(3)));
                    if (button) PostMessageA(button, BM_CLICK, 0, 0);
                }
                for (size_t i = 0; i < all.found.size(); ++i) printf("%s\n", all.texts[i].c_str());
                return 0;
            }
            if (late(start, ms(5))) return fail("not enough boxes");
            Sleep(20);
        }
    }
    if (verb == "wait-window") {
        HWND w = waitWindow(arg(2), ms(3));
        if (!w) return fail("window not found");
        printf("%p\n", (void *)w);
        return 0;
    }
    if (verb == "wait-gone") {
        while (findTop(arg(2))) {
            if (late(start, ms(3))) return fail("window still there");
            Sleep(20);
        }
        return 0;
    }
    if (verb == "wait-box" || verb == "answer-box" || verb == "dialog-set" || verb == "dialog-click" ||
        verb == "dialog-command" || verb == "dialog-check" || verb == "dialog-text" || verb == "dialog-type" ||
        verb == "list-items") {
        int timeoutArg = verb == "wait-box" || verb == "list-items"                                ? 3
                         : (verb == "dialog-set" || verb == "dialog-check" || verb == "dialog-type") ? 5
                                                                                                     : 4;
        std::string caption, text;
        HWND box = waitBox(arg(2), ms(timeoutArg), &caption, &text);
        if (!box) return fail("box not found");
        HWND control = GetDlgItem(box, (int)number(arg(3)));
        if (verb == "wait-box") {
            printf("%s|%s\n", caption.c_str(), text.c_str());
        } else if (verb == "answer-box") {
            PostMessageA(box, WM_COMMAND, number(arg(3)), 0);
            while (IsWindow(box)) {
                if (late(start, 2 * ms(4))) return fail("box still there");
                Sleep(20);
            }
        } else if (verb == "list-items") {
            // In Unicode, as a Unicode dialog's list box holds them: the
            // system carries LB_GETTEXT across processes.
            HWND list = descendant(box, "ListBox");
            if (!list) return fail("no list box");
            LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                wchar_t item[1024];
                item[0] = L'\0';
                if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 1024) SendMessageW(list, LB_GETTEXT, i, (LPARAM)item);
                printf("%s\n", utf8(item).c_str());
            }
        } else if (!control) {
            return fail("no such control");
        } else if (verb == "dialog-type") {
            for (const char *c = arg(4); *c; ++c) PostMessageA(control, WM_CHAR, (unsigned char)*c, 1);
        } else if (verb == "dialog-set") {
            // Set again until it reads back: a field that its dialog is
            // still filling in may lose the text.
            while (SetWindowTextA(control, arg(4)), sentText(control, false) != arg(4)) {
                if (late(start, 2 * ms(5))) return fail("the text did not stay");
                Sleep(20);
            }
        } else if (verb == "dialog-command") {
            // The button's click as its dialog receives it, whatever window
            // has the focus.
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED), (LPARAM)control);
        } else if (verb == "dialog-check") {
            SendMessageA(control, BM_SETCHECK, number(arg(4)) ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (verb == "dialog-text") {
            printf("%s\n", sentText(control, false).c_str());
        } else {
            PostMessageA(control, BM_CLICK, 0, 0);
        }
        return 0;
    }

    HWND top = waitWindow(arg(2), 10000);
    if (!top) return fail("window not found");
    if (verb == "title") {
        printf("%s\n", titleOf(top).c_str());
    } else if (verb == "wait-title") {
        std::string title;
        while ((title = titleOf(top)).find(needle(3)) == std::string::npos) {
            if (late(start, ms(4))) return fail("the title is \"" + title + "\"");
            Sleep(20);
        }
        printf("%s\n", title.c_str());
    } else if (verb == "wait-active") {
        while (GetForegroundWindow() != top) {
            if (late(start, ms(3))) return fail("not the active window");
            Sleep(20);
        }
    } else if (verb == "painted") {
        // A click on the view counts only once it has painted the file;
        // WM_PAINT is sent, so it has drawn when RedrawWindow returns.
        while (!IsWindowVisible(top)) {
            if (late(start, ms(3))) return fail("window not shown");
            Sleep(20);
        }
        EnumThreadWindows(GetWindowThreadProcessId(top, NULL), paintNow, 0);
    } else if (verb == "child-text") {
        std::string text;
        for (HWND child; !(child = descendant(top, arg(3))) || (text = sentText(child, true)).empty() ||
                         text.find(needle(4)) == std::string::npos;
             Sleep(20))
            if (late(start, ms(5))) return fail(std::string("no ") + arg(3) + " shows \"" + arg(4) + "\": " + text);
        printf("%s\n", text.c_str());
    } else if (verb == "command") {
        PostMessageA(top, WM_COMMAND, number(arg(3)), number(arg(4)));
    } else if (verb == "post") {
        PostMessageA(top, (UINT)number(arg(3)), number(arg(4)), number(arg(5)));
    } else if (verb == "chars") {
        for (const char *c = arg(3); *c; ++c) PostMessageA(top, WM_CHAR, (unsigned char)*c, 1);
    } else if (verb == "move") {
        if (!MoveWindow(top, (int)number(arg(3)), (int)number(arg(4)), (int)number(arg(5)),
                        (int)number(arg(6)), TRUE))
            return fail("could not move the window");
    } else if (verb == "rect") {
        RECT r;
        GetWindowRect(top, &r);
        printf("%ld %ld %ld %ld\n", (long)r.left, (long)r.top, (long)(r.right - r.left),
               (long)(r.bottom - r.top));
    } else if (verb == "zoomed") {
        printf("%d\n", IsZoomed(top) ? 1 : 0);
    } else if (verb == "child-point") {
        HWND child = GetDlgItem(top, (int)number(arg(3)));
        if (!child) return fail("no such child");
        POINT p = {number(arg(4)), number(arg(5))};
        ClientToScreen(child, &p);
        printf("%ld %ld\n", p.x, p.y);
    } else if (verb == "status") {
        printf("%s\n", statusPart(top, (int)number(arg(3))).c_str());
    } else if (verb == "wait-status") {
        for (;;) {
            std::string t = statusPart(top, (int)number(arg(3)));
            if (t.find(arg(4)) != std::string::npos) { printf("%s\n", t.c_str()); break; }
            if (late(start, ms(5))) return fail("status text not seen: \"" + t + "\"");
            Sleep(20);
        }
    } else {
        return fail("unknown verb");
    }
    return 0;
}
