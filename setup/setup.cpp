// The installer: its state, the hidden owner window, the SETUP dialog, the
// destination, the copies and the registry value.
#include "setup/setup_state.h"

#include <string.h>

#include "runtime/format.h"
#include "runtime/text.h"

SetupState st;

namespace {

const char setupClassName[] = "wsetupWndClass";
const DWORD SETUP_WINDOW_STYLE = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// Windows Vista, the first version without a WinHelp viewer.
const BYTE VISTA_MAJOR_VERSION = 6;
const char *const resultTexts[] = {"Setup completed", "Setup failed", "Setup canceled"};
// GetVersion sets its high bit on Windows 95 and its family.
const DWORD VERSION_NOT_NT = 0x80000000ul;

typedef int(WINAPI *WindowTextFunction)(HWND, LPWSTR, int);

LRESULT CALLBACK setupWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void refuse(const char *text)
{
    MessageBoxA(st.setupDialog, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

// The code page's test for the first byte of a two-byte character.
bool isLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

// On the NT family the field holds what was typed in Unicode, and its ANSI
// text spells each character the code page lacks as a look-alike (an "O"
// for a Greek omega) or "?": the files would go to a directory nobody
// named. The text is taken in Unicode and must come back the same from the
// code page. Windows 95 keeps the field in the code page.
bool typedInCodePage(HWND edit)
{
    HMODULE user = (GetVersion() & VERSION_NOT_NT) ? NULL : GetModuleHandleA("USER32");
    WindowTextFunction textOf = user ? (WindowTextFunction)(void *)GetProcAddress(user, "GetWindowTextW") : NULL;
    if (!textOf) return true;
    wchar_t typed[SETUP_PATH_CHARS], back[SETUP_PATH_CHARS];
    char spelled[SETUP_PATH_CHARS];
    textOf(edit, typed, SETUP_PATH_CHARS);
    if (WideCharToMultiByte(CP_ACP, 0, typed, -1, spelled, sizeof spelled, NULL, NULL) <= 0) return false;
    int length = MultiByteToWideChar(CP_ACP, 0, spelled, -1, back, SETUP_PATH_CHARS);
    if (length <= 0) return false;
    for (int i = 0; i < length; ++i)
        if (back[i] != typed[i]) return false;
    return true;
}

// The drive list shows drives as "[-c-]", so besides an item that begins
// with the letter, an item naming that drive counts as well.
int32_t findDriveItem(HWND combo, char letter)
{
    char text[2] = {letter, '\0'};
    LRESULT found = SendMessageA(combo, CB_FINDSTRING, 0, (LPARAM)text);
    if (found != CB_ERR) return (int32_t)found;

    int32_t count = (int32_t)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int32_t i = 0; i < count; ++i) {
        char item[SETUP_PATH_CHARS];
        if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) >= (LRESULT)sizeof item) continue;
        SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)item);
        if (itemNamesDrive(item, letter)) return i;
    }
    return count > 1 ? 1 : 0;
}

void initSetupDialog(HWND dlg)
{
    st.setupDialog = dlg;
    showSetupStatus("");
    st.setupResult = SETUP_COMPLETED;
    st.installed = 0;
    st.closing = 0;

    st.destDir[0] = '\0';
    GetWindowsDirectoryA(st.destDir, sizeof st.destDir);
    st.driveRoot[0] = st.destDir[1] == ':' ? st.destDir[0] : 'C';
    st.driveRoot[1] = '\0';

    // Drives only: without DDL_EXCLUSIVE the list would also look for files
    // matching the empty name, which fails and leaves the list empty.
    HWND combo = GetDlgItem(dlg, IDC_SETUP_DRIVES);
    char pattern[1] = {'\0'};
    SendMessageA(combo, CB_DIR, DDL_DRIVES | DDL_EXCLUSIVE, (LPARAM)pattern);
    SendMessageA(combo, CB_SETCURSEL, findDriveItem(combo, st.driveRoot[0]), 0);

    copyText(st.destDir, sizeof st.destDir, st.defaultSubdir);
    showSetupDirectory(st.destDir);
    st.addIcons = 1;
    CheckDlgButton(dlg, IDC_SETUP_ICONS, BST_CHECKED);
}

// The drive root from the selected drive item; false when none is selected.
bool readSelectedDrive(HWND dlg)
{
    HWND combo = GetDlgItem(dlg, IDC_SETUP_DRIVES);
    LRESULT sel = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR || SendMessageA(combo, CB_GETLBTEXTLEN, sel, 0) >= (LRESULT)sizeof st.pathBuffer)
        return false;
    SendMessageA(combo, CB_GETLBTEXT, sel, (LPARAM)st.pathBuffer);
    return driveRootFromItem(st.pathBuffer, st.driveRoot, sizeof st.driveRoot);
}

void onSetupOk(HWND dlg)
{
    // The files are in place and the group may be on its way: a second OK
    // would start it all again.
    if (st.installed) return;
    st.setupResult = SETUP_COMPLETED;

    HWND edit = GetDlgItem(dlg, IDC_SETUP_DIR);
    if (GetWindowTextLengthA(edit) >= (int)sizeof st.destDir) {
        refuse("The destination path is too long.");
        return;
    }
    if (!typedInCodePage(edit)) {
        refuse("The directory name holds characters that Setup cannot use. Type another name.");
        return;
    }
    GetWindowTextA(edit, st.destDir, sizeof st.destDir);
    reduceTypedDirectory(st.destDir, isLeadByte);
    if (!readSelectedDrive(dlg)) {
        refuse("Select a drive.");
        return;
    }
    if (!destinationFits(st.driveRoot, st.destDir, st.productTitle, st.programBaseName, isLeadByte)) {
        refuse("The destination path is too long.");
        return;
    }
    if (prepareDestination() == 2) return;

    st.installed = 1;
    writeSetupValue("Hdir", st.destDir);
    st.addIcons = IsDlgButtonChecked(dlg, IDC_SETUP_ICONS) == BST_CHECKED;
    if (st.addIcons)
        startGroupConversation();
    else
        PostMessageA(dlg, WM_CLOSE, 0, 0);
}

void closeSetupDialog(HWND dlg)
{
    // The conversation is over: late acknowledgements change nothing.
    st.ddeStep = DDE_IDLE;
    if (st.ddeCommands) {
        GlobalFree(st.ddeCommands);
        st.ddeCommands = NULL;
    }
    // Closed before anything was installed: nothing was done.
    if (!st.installed) st.setupResult = SETUP_CANCELED;
    int32_t r = st.setupResult >= SETUP_COMPLETED && st.setupResult <= SETUP_CANCELED ? st.setupResult : SETUP_FAILED;
    MessageBoxA(dlg, resultTexts[r], "", MB_OK);
    PostMessageA(st.hiddenWindow, WM_CLOSE, 0, 0);
    EndDialog(dlg, 0);
}

}  // namespace

void resetSetupState()
{
    memset(&st, 0, sizeof st);
    st.productName = "quillon";
    st.productTitle = "Quillon";
    st.vendorKeyPrefix = "Software\\Ostrel\\";
    formatText(st.registryKeyPath, sizeof st.registryKeyPath, "%s%s", st.vendorKeyPrefix, st.productName);
    formatText(st.defaultSubdir, sizeof st.defaultSubdir, "\\%s95", st.productName);
    formatText(st.programBaseName, sizeof st.programBaseName, "%s95", st.productName);
    st.initiateTarget = HWND_BROADCAST;
    st.winHelp = LOBYTE(LOWORD(GetVersion())) < VISTA_MAJOR_VERSION;
}

BOOL registerSetupClass(HINSTANCE instance)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = setupWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = setupClassName;
    return RegisterClassA(&wc) != 0;
}

void unregisterSetupClass(HINSTANCE instance)
{
    UnregisterClassA(setupClassName, instance);
}

HWND createSetupWindow(HINSTANCE instance)
{
    return CreateWindowA(setupClassName, "Setup", SETUP_WINDOW_STYLE, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                         NULL, NULL, instance, NULL);
}

INT_PTR CALLBACK setupDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        initSetupDialog(dlg);
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDC_SETUP_OK) {
            onSetupOk(dlg);
            return TRUE;
        }
        if (wParam == IDC_SETUP_CANCEL) {
            st.setupResult = SETUP_CANCELED;
            PostMessageA(dlg, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // A second close while the result is shown changes nothing.
        if (st.closing) return TRUE;
        st.closing = 1;
        closeSetupDialog(dlg);
        return FALSE;
    case WM_DDE_ACK:
        handleDdeAck((HWND)wParam, lParam);
        return FALSE;
    case WM_DDE_TERMINATE:
        handleDdeTerminate((HWND)wParam);
        return FALSE;
    }
    return FALSE;
}

void showSetupStatus(const char *text)
{
    SetDlgItemTextA(st.setupDialog, IDC_SETUP_STATUS, text);
}

void showSetupDirectory(const char *text)
{
    SetDlgItemTextA(st.setupDialog, IDC_SETUP_DIR, text);
}

int32_t prepareDestination()
{
    DWORD n = GetCurrentDirectoryA(sizeof st.savedDir, st.savedDir);
    if (n == 0 || n >= sizeof st.savedDir) {
        refuse("The current directory path is too long.");
        return 2;
    }

    // A drive that cannot be entered (its medium gone) has no directories:
    // nothing is looked for or made relative to the current directory.
    bool onDrive = SetCurrentDirectoryA(st.driveRoot) != FALSE;
    if (st.destDir[0] && (!onDrive || !SetCurrentDirectoryA(st.destDir))) {
        char question[SETUP_QUESTION_CHARS];
        formatCreateQuestion(st.driveRoot, st.destDir, question, sizeof question);
        if (MessageBoxA(st.setupDialog, question, "", MB_YESNO | MB_ICONQUESTION) != IDYES) {
            // The files are copied from the saved directory: a later OK
            // must find it current again.
            SetCurrentDirectoryA(st.savedDir);
            return 2;
        }
    }

    size_t pos = 0;
    char component[SETUP_PATH_CHARS];
    onDrive = SetCurrentDirectoryA(st.driveRoot) != FALSE;
    while (onDrive && nextPathComponent(st.destDir, &pos, component, sizeof component, isLeadByte)) {
        if (component[1] == ':') continue;
        if (!SetCurrentDirectoryA(component)) {
            CreateDirectoryA(component, NULL);
            SetCurrentDirectoryA(component);
        }
    }
    SetCurrentDirectoryA(st.savedDir);

    composeDestination(st.driveRoot, st.destDir, st.pathBuffer, sizeof st.pathBuffer, isLeadByte);
    copyText(st.destDir, sizeof st.destDir, st.pathBuffer);
    showSetupStatus("Copying files ...");
    for (int32_t k = 0; k < SETUP_FILE_COUNT; ++k)
        st.setupResult |= copyProgramFile(k);
    return 0;
}

int32_t copyProgramFile(int32_t k)
{
    char source[64];
    if (!composeFilePath("", st.programBaseName, k, source, sizeof source)) return 1;
    if (!composeFilePath(st.destDir, st.programBaseName, k, st.pathBuffer, sizeof st.pathBuffer)) return 1;
    return CopyFileA(source, st.pathBuffer, FALSE) ? 0 : 1;
}

void writeSetupValue(const char *name, const char *value)
{
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, st.registryKeyPath, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, NULL, &key, &disposition) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1);
    RegCloseKey(key);
}

int runSetup(HINSTANCE instance)
{
    resetSetupState();
    if (!registerSetupClass(instance)) return 0;
    st.ddeStep = DDE_IDLE;
    st.hiddenWindow = createSetupWindow(instance);
    if (!st.hiddenWindow) {
        unregisterSetupClass(instance);
        return 0;
    }
    ShowWindow(st.hiddenWindow, SW_HIDE);

    if (DialogBoxParamA(instance, "setup", st.hiddenWindow, setupDialogProc, 0) == -1)
        PostMessageA(st.hiddenWindow, WM_CLOSE, 0, 0);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    unregisterSetupClass(instance);
    return (int)msg.wParam;
}
