// Drives the real programs from outside, for the end-to-end scripts.
// Each invocation runs one verb and prints what it found; a verb that
// waits gives up after its timeout and exits with 1.
//
//   qdrive wait-window CLASS [MS]            print the window's handle
//   qdrive title CLASS                       print the window's title, in UTF-8
//   qdrive command CLASS ID [LPARAM]         post WM_COMMAND
//   qdrive post CLASS MSG WPARAM LPARAM      post any message (numbers)
//   qdrive key CLASS VK                      post WM_KEYDOWN
//   qdrive chars CLASS TEXT                  post WM_CHAR for each character
//   qdrive click CLASS CHILDID X Y           post button down and up to a child
//   qdrive wait-box TEXT [MS]                wait for a message box or dialog whose
//                                            caption or text contains TEXT; print
//                                            "caption|text"
//   qdrive answer-box TEXT ID [MS]           wait-box, then post WM_COMMAND ID to it
//   qdrive dialog-set TEXT CTLID VALUE [MS]  set a control's text in that dialog
//   qdrive dialog-click TEXT CTLID [MS]      click a button of that dialog
//   qdrive dialog-type TEXT CTLID CHARS [MS] post WM_CHAR for each character to a
//                                            control of that dialog, as typing does
//   qdrive dialog-command TEXT CTLID [MS]    post the button's BN_CLICKED command to
//                                            that dialog (needs no focus)
//   qdrive dialog-check TEXT CTLID 0|1 [MS]  clear or set a button's check mark
//   qdrive dialog-text TEXT CTLID [MS]       print a control's text
//   qdrive status CLASS PART                 print the text of a status bar part
//   qdrive wait-status CLASS PART TEXT [MS]  wait until that part contains TEXT
//   qdrive wait-status-length CLASS PART N [MS]  wait until that part's text has N
//                                            characters (its length comes by value:
//                                            it is read where the text cannot be, in
//                                            a program of another bitness)
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
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

long number(const char *s) { return strtol(s, NULL, 0); }

HWND findTop(const char *cls) { return FindWindowA(cls, NULL); }

HWND waitWindow(const char *cls, int ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND w = findTop(cls);
        if (w) return w;
        if ((int)(GetTickCount() - start) > ms) return NULL;
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
        if ((int)(GetTickCount() - start) > ms) return NULL;
        Sleep(20);
    }
}

// SB_GETTEXT carries a pointer, so the text is fetched through memory of
// the target process.
std::string statusPart(HWND top, int part)
{
    HWND bar = FindWindowExA(top, NULL, STATUSCLASSNAMEA, NULL);
    if (!bar) return "";
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return "";
    std::string result;
    LRESULT len = SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0);
    if (LOWORD(len) < 1000) {
        void *remote = VirtualAllocEx(proc, NULL, 1024, MEM_COMMIT, PAGE_READWRITE);
        if (remote) {
            SendMessageA(bar, SB_GETTEXTA, part, (LPARAM)remote);
            char buf[1024] = {0};
            SIZE_T got = 0;
            ReadProcessMemory(proc, remote, buf, sizeof buf - 1, &got);
            result = buf;
            VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
        }
    }
    CloseHandle(proc);
    return result;
}

int fail(const char *what)
{
    fprintf(stderr, "qdrive: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) return fail("no verb");
    std::string verb = argv[1];
    auto arg = [&](int i) -> const char * { return i < argc ? argv[i] : ""; };
    auto ms = [&](int i) { return i < argc ? (int)number(argv[i]) : 10000; };

    if (verb == "dialog-click-all") {
        DWORD start = GetTickCount();
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
            if ((int)(GetTickCount() - start) > ms(5)) return fail("not enough boxes");
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
        DWORD start = GetTickCount();
        while (findTop(arg(2))) {
            if ((int)(GetTickCount() - start) > ms(3)) return fail("window still there");
            Sleep(20);
        }
        return 0;
    }
    if (verb == "wait-box" || verb == "answer-box" || verb == "dialog-set" || verb == "dialog-click" ||
        verb == "dialog-command" || verb == "dialog-check" || verb == "dialog-text" || verb == "dialog-type") {
        int timeoutArg = verb == "wait-box"                                                        ? 3
                         : (verb == "dialog-set" || verb == "dialog-check" || verb == "dialog-type") ? 5
                                                                                                     : 4;
        std::string caption, text;
        HWND box = waitBox(arg(2), ms(timeoutArg), &caption, &text);
        if (!box) return fail("box not found");
        if (verb == "wait-box") {
            printf("%s|%s\n", caption.c_str(), text.c_str());
        } else if (verb == "answer-box") {
            PostMessageA(box, WM_COMMAND, number(arg(3)), 0);
        } else if (verb == "dialog-type") {
            HWND control = GetDlgItem(box, (int)number(arg(3)));
            if (!control) return fail("no such control");
            for (const char *c = arg(4); *c; ++c) PostMessageA(control, WM_CHAR, (unsigned char)*c, 1);
        } else if (verb == "dialog-set") {
            SetDlgItemTextA(box, (int)number(arg(3)), arg(4));
        } else if (verb == "dialog-command") {
            // The button's click as its dialog receives it, whatever window
            // has the focus.
            int id = (int)number(arg(3));
            HWND button = GetDlgItem(box, id);
            if (!button) return fail("no such control");
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
        } else if (verb == "dialog-check") {
            HWND button = GetDlgItem(box, (int)number(arg(3)));
            if (!button) return fail("no such control");
            SendMessageA(button, BM_SETCHECK, number(arg(4)) ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (verb == "dialog-text") {
            HWND control = GetDlgItem(box, (int)number(arg(3)));
            if (!control) return fail("no such control");
            // WM_GETTEXT, which the system carries across processes; an
            // edit field's text is not its window text for another process.
            char text[1024];
            text[0] = '\0';
            SendMessageA(control, WM_GETTEXT, sizeof text, (LPARAM)text);
            printf("%s\n", text);
        } else {
            HWND button = GetDlgItem(box, (int)number(arg(3)));
            if (!button) return fail("no such control");
            PostMessageA(button, BM_CLICK, 0, 0);
        }
        return 0;
    }

    HWND top = waitWindow(arg(2), 10000);
    if (!top) return fail("window not found");
    if (verb == "title") {
        // In UTF-8, as the Linux side names files: a title may show a name
        // that the code page cannot spell.
        wchar_t wide[1024];
        char text[4096];
        if (!GetWindowTextW(top, wide, 1024)) wide[0] = L'\0';
        if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, NULL, NULL)) text[0] = '\0';
        printf("%s\n", text);
    } else if (verb == "command") {
        PostMessageA(top, WM_COMMAND, number(arg(3)), number(arg(4)));
    } else if (verb == "post") {
        PostMessageA(top, (UINT)number(arg(3)), number(arg(4)), number(arg(5)));
    } else if (verb == "key") {
        PostMessageA(top, WM_KEYDOWN, number(arg(3)), 1);
    } else if (verb == "chars") {
        for (const char *c = arg(3); *c; ++c) PostMessageA(top, WM_CHAR, (unsigned char)*c, 1);
    } else if (verb == "click") {
        HWND child = GetDlgItem(top, (int)number(arg(3)));
        if (!child) return fail("no such child");
        LPARAM at = MAKELPARAM(number(arg(4)), number(arg(5)));
        PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(child, WM_LBUTTONUP, 0, at);
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
        DWORD start = GetTickCount();
        for (;;) {
            std::string t = statusPart(top, (int)number(arg(3)));
            if (t.find(arg(4)) != std::string::npos) { printf("%s\n", t.c_str()); break; }
            if ((int)(GetTickCount() - start) > ms(5)) return fail("status text not seen");
            Sleep(20);
        }
    } else if (verb == "wait-status-length") {
        HWND bar = FindWindowExA(top, NULL, STATUSCLASSNAMEA, NULL);
        DWORD start = GetTickCount();
        while (!bar || LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, number(arg(3)), 0)) != number(arg(4))) {
            if ((int)(GetTickCount() - start) > ms(5)) return fail("status length not seen");
            Sleep(20);
        }
    } else {
        return fail("unknown verb");
    }
    return 0;
}
