// Start-up: the long-lived blocks, the two window classes, the windows and
// the initial state, and the message loop that also drives the search.
#include <windows.h>
#include <string.h>

#include "document/cmdline.h"
#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "search/search.h"
#include "shell/placement.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "shell/statusbar.h"

bool allocateBlocks()
{
    ed.helpDir = (char *)GlobalAlloc(GPTR, PATH_CHARS);
    ed.openDir = (char *)GlobalAlloc(GPTR, PATH_CHARS);
    ed.pageBuffer = (unsigned char *)GlobalAlloc(GPTR, PAGE_SIZE);
    return ed.pageBuffer != NULL && ed.helpDir != NULL && ed.openDir != NULL;
}

void freeBlocks()
{
    if (ed.pageBuffer) GlobalFree(ed.pageBuffer);
    ed.pageBuffer = NULL;
    if (ed.openDir) GlobalFree(ed.openDir);
    ed.openDir = NULL;
    if (ed.helpDir) GlobalFree(ed.helpDir);
    ed.helpDir = NULL;
}

BOOL registerMainClass(HINSTANCE instance)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = 0;
    wc.lpfnWndProc = mainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MICON");
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszMenuName = "mmENU";
    wc.lpszClassName = "QuillonWClass";
    return RegisterClassA(&wc) != 0;
}

BOOL registerViewClass(HINSTANCE instance)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = hexViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "QuillonbaseClass";
    return RegisterClassA(&wc) != 0;
}

namespace {

// The whole argument string is one path. On the NT family it is read in
// Unicode, where the system keeps it: the ANSI one spells with "?" (or a
// look-alike) what the code page lacks.
void openCommandLineFile(const char *args, const wchar_t *unicodeArgs)
{
    char path[NAME_CHARS];
    CommandLineAction action;
    if (unicodeArgs) {
        wchar_t name[NAME_CHARS];
        action = parseCommandLine(unicodeArgs, name, NAME_CHARS);
        if (action == CMDLINE_OPEN_PATH && !ansiNameOf(name, path, sizeof path)) return;
    } else {
        action = parseCommandLine(args, path, sizeof path);
    }
    switch (action) {
    case CMDLINE_OFFER_OPEN:
        PostMessageA(ed.mainWnd, WM_COMMAND, IDM_OPEN, 0);
        break;
    case CMDLINE_OPEN_PATH:
        openFile(path);
        break;
    case CMDLINE_TOO_LONG:
        reportOpenRefusal(OPEN_PATH_TOO_LONG);
        break;
    }
}

ScreenSizes readScreenSizes()
{
    ScreenSizes screens;
    screens.desktop.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screens.desktop.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screens.desktop.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screens.desktop.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    screens.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screens.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    screens.frameHeight = GetSystemMetrics(SM_CYFRAME);
    screens.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) SetRectEmpty(&work);
    PlaceRect workArea = {work.left, work.top, work.right - work.left, work.bottom - work.top};
    screens.workArea = workArea;
    return screens;
}

// The view's cell is that of its font, measured as the first paint will.
ViewNeeds readViewNeeds()
{
    ViewNeeds needs = {STATUS_BAND, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL),
                       0, 0, ed.offsetChars, ed.unitChars, ed.rowChars};
    HDC dc = GetDC(ed.mainWnd);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    SIZE cell;
    if (GetTextExtentPointA(dc, "0", 1, &cell)) {
        needs.cellWidth = cell.cx;
        needs.cellHeight = cell.cy;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(ed.mainWnd, dc);
    return needs;
}

void moveMainWindow(const PlaceRect &r)
{
    SetWindowPos(ed.mainWnd, NULL, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

PlaceRect mainWindowRect()
{
    RECT r;
    GetWindowRect(ed.mainWnd, &r);
    PlaceRect place = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    return place;
}

// The main window, made at the system's default place and size and not yet
// shown, goes to the remembered rectangle. It is tried there first: the
// system cuts a size beyond its largest window, and the menu bar takes as
// many lines as the width needs, so only the window itself tells its real
// size and client area. A caption out of reach (saved on a larger or
// since-removed screen, or under the taskbar) is brought onto the desktop;
// a window too small to show the header and one data row goes back to the
// default size, so a useless size is not kept run after run. The fields
// take the rectangle the window really gets, which a maximized or minimized
// window also restores to, so that is what is saved at exit.
void placeRememberedWindow()
{
    PlaceRect systemDefault = mainWindowRect();
    PlaceRect remembered = {ed.windowLeft, ed.windowTop, ed.windowWidth, ed.windowHeight};
    moveMainWindow(remembered);
    PlaceRect real = mainWindowRect();
    PlaceRect placed = placementOnScreen(real, readScreenSizes());
    if (memcmp(&placed, &real, sizeof placed) != 0) moveMainWindow(placed);
    RECT client;
    GetClientRect(ed.mainWnd, &client);
    if (!clientShowsData(client.right, client.bottom, readViewNeeds())) moveMainWindow(systemDefault);
    placed = mainWindowRect();
    ed.windowLeft = placed.left;
    ed.windowTop = placed.top;
    ed.windowWidth = placed.width;
    ed.windowHeight = placed.height;
}

}  // namespace

BOOL initInstance(HINSTANCE instance, const char *args, int showCommand, const wchar_t *unicodeArgs)
{
    resetEditorState();
    ed.instance = instance;
    ed.accelerators = LoadAcceleratorsA(instance, "RACCEL");
    ed.editBitmap = LoadBitmapA(instance, "BITEDIT");
    ed.viewBitmap = LoadBitmapA(instance, "BITVIEW");

    loadSettings();
    computeRowLayout();

    ed.mainWnd = CreateWindowExA(0, "QuillonWClass", "Quillon", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, instance, NULL);
    if (!ed.mainWnd) return FALSE;
    if (ed.placementValuesMissing == 0) placeRememberedWindow();

    createStatusBar(ed.mainWnd, "", 2);

    ed.menu = GetMenu(ed.mainWnd);
    EnableMenuItem(ed.menu, IDM_SPACER, MF_BYCOMMAND | MF_GRAYED);

    ed.viewFont = (HFONT)GetStockObject(SYSTEM_FIXED_FONT);
    measureViewRect(ed.mainWnd);

    if (!registerViewClass(instance)) return FALSE;
    ed.hexViewWnd = CreateWindowExA(0, "QuillonbaseClass", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                    ed.viewRect.left, ed.viewRect.top, ed.viewRect.right,
                                    ed.viewRect.bottom - ed.viewRect.top, ed.mainWnd,
                                    (HMENU)IDC_HEXVIEW, instance, NULL);
    if (!ed.hexViewWnd) return FALSE;

    ModifyMenuA(ed.menu, IDM_VIEWMODE, MF_BYCOMMAND | MF_BITMAP, IDM_VIEWMODE,
                (LPCSTR)ed.viewBitmap);
    DrawMenuBar(ed.mainWnd);

    // The colours are read before anything is painted: the first paint and
    // the error box of a command-line file that cannot be opened show them.
    ed.textColor = GetSysColor(COLOR_WINDOWTEXT);
    ed.backColor = GetSysColor(COLOR_WINDOW);
    ed.hiTextColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
    ed.hiBackColor = GetSysColor(COLOR_HIGHLIGHT);

    int show = showCommand;
    if (ed.placementValuesMissing == 0) {
        if (ed.showState == SHOWN_MAXIMIZED) show = SW_SHOWMAXIMIZED;
        else if (ed.showState == SHOWN_MINIMIZED) show = SW_SHOWMINIMIZED;
    }
    ShowWindow(ed.mainWnd, show);
    UpdateWindow(ed.mainWnd);

    rebuildRecentMenu();

    openFile("");
    openCommandLineFile(args, unicodeArgs);

    EnableMenuItem(ed.menu, IDM_STOPSEARCH, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_GRAYED);

    SetScrollRange(ed.hexViewWnd, SB_HORZ, 0, ed.hScrollMax, TRUE);
    return TRUE;
}

int runMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (!TranslateAcceleratorA(ed.mainWnd, ed.accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Search ticks are served here: kill the timer, two slices, and a
        // new timer only while the search still runs, so ticks never pile up.
        if (msg.message == WM_TIMER && ed.searching) {
            KillTimer(NULL, ed.searchTimer);
            searchStep();
            searchStep();
            if (ed.searching) armSearchTimer();
        }
    }
    return (int)msg.wParam;
}
