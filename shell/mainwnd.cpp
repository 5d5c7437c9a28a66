// The main window: menu and accelerator commands, the window's life events,
// and the keyboard, which the main window keeps.
#include <windows.h>
#include <commdlg.h>
#include <string.h>

#include "dialogs/dialogs.h"
#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "search/search.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "shell/statusbar.h"

namespace {

const char aboutText[] =
    "Quillon 95\n"
    "Hexadecimal file editor\n\n"
    "Version 1.4\n"
    "Ostrel";

void onCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    switch (id) {
    case IDM_OPEN:
        runOpenDialog();
        break;
    case IDM_GOTO:
        ed.goToInitial = (int32_t)lParam;
        runModalDialog("Offset", goToDialogProc);
        setStatusText("", 0, 0);
        break;
    case IDM_EXIT:
        PostMessageA(ed.mainWnd, WM_CLOSE, 0, 0);
        break;
    case IDM_FIND:
        ed.searchRequest = SEARCH_NONE;
        runModalDialog("search", searchDialogProc);
        if (ed.fileSize != 0 && ed.searchRequest != SEARCH_NONE) startSearch((SearchRequest)ed.searchRequest);
        break;
    case IDM_FINDNEXT:
        startSearch(SEARCH_FIND_NEXT);
        break;
    case IDM_STOPSEARCH:
        stopSearch();
        break;
    case IDM_VIEWMODE:
        toggleEditMode();
        break;
    case IDM_HELP:
        showHelp();
        break;
    case IDM_ABOUT:
        MessageBoxA(ed.mainWnd, aboutText, appCaption, MB_OK);
        break;
    case IDM_FORMAT:
        runModalDialog("Format", formatDialogProc);
        break;
    default:
        if (id >= IDM_RECENT1 && id < IDM_RECENT1 + RECENT_COUNT) openRecentFile(id - IDM_RECENT1);
        break;
    }
}

void onSize(HWND wnd, WPARAM wParam)
{
    sizeView(wnd);
    // The size that arrives while the window is created, before it is first
    // shown, is not the user's: the loaded placement stands until then.
    if (!IsWindowVisible(wnd)) return;
    ed.showState = SHOWN_NORMAL;
    switch (wParam) {
    case SIZE_RESTORED: {
        RECT r;
        GetWindowRect(wnd, &r);
        ed.windowLeft = r.left;
        ed.windowTop = r.top;
        ed.windowWidth = r.right - r.left;
        ed.windowHeight = r.bottom - r.top;
        break;
    }
    case SIZE_MAXIMIZED:
        ed.showState = SHOWN_MAXIMIZED;
        break;
    case SIZE_MINIMIZED:
        ed.showState = SHOWN_MINIMIZED;
        break;
    }
}

bool closing;

// The end of the run: the settings are written and help is quit. Reached
// when the window is destroyed, or when the Windows session ends, after
// which the program may be ended without its window being destroyed.
void endRun()
{
    saveSettings();
    if (ed.helpOpened) WinHelpA(ed.mainWnd, "", HELP_QUIT, 0);
    ed.helpOpened = 0;
}

void onDestroy()
{
    DeleteObject(ed.editBitmap);
    DeleteObject(ed.viewBitmap);
    ed.editBitmap = ed.viewBitmap = NULL;
    endRun();
    PostQuitMessage(0);
}

}  // namespace

namespace {

// The flags of both Open dialogs. The dialog tries the chosen file with an
// open of its own, which Windows 95 may refuse while the editor holds the
// file (the DOS sharing rules): the open file, chosen again, would be
// turned away as in use. openFile makes the open itself, after closing its
// own handle, and reports what fails.
const DWORD OPEN_FLAGS = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE;

typedef BOOL(WINAPI *OpenDialogFunction)(OPENFILENAMEW *);

// A dialog that returns FALSE was cancelled, or it failed: then the user
// is told, so the dialog never closes with nothing happening. A path too
// long for the buffer, which holds the longest the file functions take,
// is the failure a user can cause.
void reportOpenDialogFailure()
{
    DWORD error = CommDlgExtendedError();
    if (error == FNERR_BUFFERTOOSMALL) reportOpenRefusal(OPEN_PATH_TOO_LONG);
    else if (error != 0) reportOpenRefusal(OPEN_ERROR);
}

// The 76-byte description of the Windows 95 open-file dialog; the chosen
// path goes to path.
bool chooseAnsiName(char *filter, char *path)
{
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = ed.mainWnd;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = NAME_CHARS;
    ofn.lpstrFileTitle = ed.fileTitle;
    ofn.nMaxFileTitle = sizeof ed.fileTitle;
    ofn.lpstrInitialDir = ed.openDir;
    ofn.Flags = OPEN_FLAGS;
    if (GetOpenFileNameA(&ofn)) return true;
    reportOpenDialogFailure();
    return false;
}

// On the NT family the dialog of the same size in Unicode: the ANSI one
// hands over "?" (or a look-alike) for what the code page lacks. The
// chosen name becomes the name the ANSI file functions reach it by, or the
// user is told why there is none.
bool chooseUnicodeName(OpenDialogFunction dialog, const char *filter, int filterLength, char *path)
{
    wchar_t wideFilter[PATH_CHARS], initialDir[PATH_CHARS], name[NAME_CHARS];
    // The filter with the zero after it: its list ends in two.
    if (!MultiByteToWideChar(CP_ACP, 0, filter, filterLength + 1, wideFilter, PATH_CHARS) ||
        !MultiByteToWideChar(CP_ACP, 0, ed.openDir, -1, initialDir, PATH_CHARS))
        return false;
    name[0] = 0;

    OPENFILENAMEW ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = ed.mainWnd;
    ofn.lpstrFilter = wideFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = NAME_CHARS;
    ofn.lpstrInitialDir = initialDir;
    ofn.Flags = OPEN_FLAGS;
    if (!dialog(&ofn)) {
        reportOpenDialogFailure();
        return false;
    }
    return ansiNameOf(name, path, NAME_CHARS);
}

OpenDialogFunction unicodeOpenDialog()
{
    return (OpenDialogFunction)(void *)unicodeFunction("COMDLG32", "GetOpenFileNameW");
}

}  // namespace

void runOpenDialog()
{
    char path[NAME_CHARS];
    char filter[PATH_CHARS];
    path[0] = '\0';

    int n = LoadStringA(ed.instance, 0, filter, sizeof filter);
    if (n <= 0) return;
    char separator = filter[n - 1];
    for (int i = 0; i < n; ++i)
        if (filter[i] == separator) filter[i] = '\0';

    OpenDialogFunction unicodeDialog = unicodeOpenDialog();
    if (unicodeDialog ? !chooseUnicodeName(unicodeDialog, filter, n, path) : !chooseAnsiName(filter, path))
        return;

    openFile(path);

    // The next Open dialog starts in the chosen file's directory, kept with
    // its backslash when it fits. The system finds where the name begins: a
    // double-byte character may end in a byte that looks like a backslash.
    char dir[NAME_CHARS];
    char *name = NULL;
    DWORD length = GetFullPathNameA(path, sizeof dir, dir, &name);
    if (length > 0 && length < sizeof dir && name && name - dir < PATH_CHARS) {
        *name = '\0';
        lstrcpynA(ed.openDir, dir, PATH_CHARS);
    }
}

LRESULT CALLBACK mainWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        onCommand(wParam, lParam);
        if (id == IDM_HELP || (id >= IDM_RECENT1 && id < IDM_RECENT1 + RECENT_COUNT)) return 1;
        break;
    }
    case WM_SIZE:
        onSize(wnd, wParam);
        return 0;
    case WM_CLOSE:
        // A second close that arrives while the save prompt of the first is
        // up would close the file under it; the first close finishes the job.
        if (closing) return 0;
        closing = true;
        closeFile();
        DestroyWindow(wnd);
        closing = false;
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_QUERYENDSESSION:
        // The changes are offered as closing offers them, and the session
        // may end whatever the answer. The file stays open: another program
        // may still refuse the end. A save question that is already up must
        // be answered first: the session ending under it would lose the
        // changes it asks about.
        if (ed.flushing) return FALSE;
        flushPage();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) endRun();
        return 0;
    case WM_SETFOCUS:
        onSetFocus();
        return 0;
    case WM_KILLFOCUS:
        onKillFocus();
        return 0;
    case WM_KEYDOWN:
        onKeyDown(wParam);
        return 0;
    case WM_CHAR:
        onChar(wParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_INITMENU:
    case WM_MENUSELECT:
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}
