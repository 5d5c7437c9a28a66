// The main window's commands and life events under the real windows: the
// Open dialog, help, the dialogs' dialogOpen bracket, the placement kept on
// resizing, and closing with unsaved changes.
#include <gtest/gtest.h>

#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "wintest.h"

using namespace wintest;

namespace {

void command(int id, LPARAM lParam = 0) { SendMessageA(ed.mainWnd, WM_COMMAND, id, lParam); }

std::string folderOf(const std::string &path) { return path.substr(0, path.rfind('\\') + 1); }
std::string nameOf(const std::string &path) { return path.substr(path.rfind('\\') + 1); }

TEST(MainWindow, OpenDialogOpensTheChosenFileAndRemembersItsFolder)
{
    EditorSession s;
    ASSERT_TRUE(s.started());
    std::string first = writeTempFile("first.bin", patternBytes(300));
    chooseInOpenDialog(first);
    PostMessageA(ed.mainWnd, WM_COMMAND, IDM_OPEN, 0);
    ASSERT_TRUE(waitFor([&] { return strcmp(ed.fileName, first.c_str()) == 0; }));
    EXPECT_EQ(300, ed.fileSize);
    EXPECT_EQ(folderOf(first), std::string(ed.openDir));
    EXPECT_EQ(nameOf(first), std::string(ed.fileTitle));

    // Cancelled, the dialog changes nothing; it starts in the folder kept.
    std::string shownFolder;
    onNextBox([&](HWND box) {
        char dir[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof dir, dir);
        shownFolder = dir;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(box, IDCANCEL));
    });
    PostMessageA(ed.mainWnd, WM_COMMAND, IDM_OPEN, 0);
    ASSERT_TRUE(waitFor([] { return seenBoxes().size() == 2 && !FindWindowA("#32770", NULL); }));
    EXPECT_EQ(folderOf(first), shownFolder + "\\");
    EXPECT_STREQ(first.c_str(), ed.fileName);
    EXPECT_EQ(0, unansweredBoxes());
}

// On the NT family, names the code page cannot spell: the file opens by its
// short name, and a look-alike spelling ("A" for "\u0100") never opens the
// other file beside it.
TEST(MainWindow, OpenDialogOpensNamesTheCodePageCannotSpell)
{
    if (!onNtFamily()) GTEST_SKIP() << "Windows 95 keeps names in its code page";
    EditorSession s;
    writeTempFile("Ab.bin", patternBytes(10));
    std::string folder = tempPath("");
    for (const wchar_t *name : {L"\u65e5\u672c.bin", L"\u0100b.bin"}) {
        std::wstring path = std::wstring(folder.begin(), folder.end()) + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, "12345", 5, &written, NULL);
        CloseHandle(file);
        openFile("");
        chooseInOpenDialog(path);
        PostMessageA(ed.mainWnd, WM_COMMAND, IDM_OPEN, 0);
        ASSERT_TRUE(waitFor([] { return ed.fileSize == 5; }));
        EXPECT_NE(nullptr, strchr(ed.fileName, '~')) << ed.fileName;
        EXPECT_EQ('1', ed.pageBuffer[0]);
        // The title and the recent item show the name the user picked; the
        // item opens the same file again.
        wchar_t title[300], item[300];
        InternalGetWindowText(ed.mainWnd, title, 300);     // as stored, not through the ANSI procedure
        EXPECT_EQ(L"Quillon 95   " + std::wstring(name) + L" (5 bytes)  0 %", title);
        GetMenuStringW(ed.menu, IDM_RECENT1, item, 300, MF_BYCOMMAND);
        EXPECT_EQ(L"&1 " + path, item);
        std::string opened = ed.fileName;
        openFile("");
        SendMessageA(ed.mainWnd, WM_COMMAND, IDM_RECENT1, 0);
        EXPECT_EQ(opened, ed.fileName);
        EXPECT_EQ(5, ed.fileSize);
    }
    EXPECT_EQ(2u, seenBoxes().size());      // the two dialogs, no message
}

// A stand-in for the help engine: WinHelpA talks to the window of class
// MS_WINHELP when there is one, by WM_COPYDATA carrying the command and the
// file name.
struct HelpCall {
    UINT command;
    std::string file;
};
std::vector<HelpCall> helpCalls;

LRESULT CALLBACK fakeHelpProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA) {
        const COPYDATASTRUCT *cds = (const COPYDATASTRUCT *)lParam;
        const unsigned char *data = (const unsigned char *)cds->lpData;
        HelpCall call;
        WORD ofsFile;
        memcpy(&call.command, data + 2, 2);
        call.command &= 0xFFFF;
        memcpy(&ofsFile, data + 12, 2);
        call.file = ofsFile ? std::string((const char *)data + ofsFile) : "";
        helpCalls.push_back(call);
        return TRUE;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

class FakeHelp {
public:
    FakeHelp()
    {
        WNDCLASSA wc;
        memset(&wc, 0, sizeof wc);
        wc.lpfnWndProc = fakeHelpProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "MS_WINHELP";
        RegisterClassA(&wc);
        wnd = CreateWindowA("MS_WINHELP", "", 0, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
        helpCalls.clear();
    }
    ~FakeHelp()
    {
        DestroyWindow(wnd);
        UnregisterClassA("MS_WINHELP", GetModuleHandleA(NULL));
    }
    HWND wnd;
};

TEST(MainWindow, HelpUsesTheRememberedFileOrTheBareNameAndQuitsAtExit)
{
    FakeHelp help;
    ASSERT_NE((HWND)NULL, help.wnd);
    std::string helpFile = writeTempFile("quillon95.hlp", {'?'});
    const struct { std::string helpDir, expected; } cases[] = {
        {helpFile, helpFile},
        {tempPath("missing.hlp"), "quillon95.hlp"},
        {"", "quillon95.hlp"},
        {folderOf(helpFile), "quillon95.hlp"},      // a folder is not the help file
    };
    for (const auto &c : cases) {
        helpCalls.clear();
        {
            EditorSession s;
            EXPECT_EQ(0, ed.helpOpened);
            ed.winHelp = 1;     // as on Windows 95 to XP
            lstrcpynA(ed.helpDir, c.helpDir.c_str(), PATH_CHARS);
            // F1 is an accelerator for the Help command, which answers 1.
            PostMessageA(ed.mainWnd, WM_KEYDOWN, VK_F1, 0);
            ASSERT_TRUE(waitFor([] { return ed.helpOpened == 1; }));
            ASSERT_EQ(1u, helpCalls.size());
            EXPECT_EQ((UINT)HELP_CONTENTS, helpCalls[0].command);
            EXPECT_EQ(c.expected, helpCalls[0].file) << c.helpDir;
            EXPECT_EQ(1, SendMessageA(ed.mainWnd, WM_COMMAND, IDM_HELP, 0));
        }
        ASSERT_EQ(3u, helpCalls.size());
        EXPECT_EQ((UINT)HELP_QUIT, helpCalls[2].command);
    }

    // Help never asked for: nothing at exit.
    helpCalls.clear();
    {
        EditorSession s;
    }
    EXPECT_TRUE(helpCalls.empty());
}

// The real help engine, with no help file anywhere, asks from its own
// process whether to look for the file; the editor waits for the answer,
// which a second thread gives here, and goes on.
struct EngineQuestion {
    std::string text;
    bool answered;
};

BOOL CALLBACK answerEngineQuestion(HWND wnd, LPARAM lParam)
{
    EngineQuestion *q = (EngineQuestion *)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    char cls[32];
    GetClassNameA(wnd, cls, sizeof cls);
    if (pid == GetCurrentProcessId() || strcmp(cls, "#32770") != 0) return TRUE;
    std::string text = windowText(GetDlgItem(wnd, 0xFFFF));
    if (text.find("quillon95.hlp") == std::string::npos) return TRUE;
    q->text = text;
    q->answered = PostMessageA(wnd, WM_COMMAND, IDNO, 0) != 0;
    return FALSE;
}

DWORD WINAPI engineAnswerer(LPVOID param)
{
    EngineQuestion *q = (EngineQuestion *)param;
    for (int i = 0; i < 500 && !q->answered; ++i) {
        EnumWindows(answerEngineQuestion, (LPARAM)q);
        Sleep(20);
    }
    return 0;
}

TEST(MainWindow, HelpWithoutAHelpFileDoesNotHurtTheEditor)
{
    EditorSession s;
    ed.winHelp = 1;
    std::string file = writeTempFile("data.bin", patternBytes(64));
    openFile(file.c_str());
    EngineQuestion question = {"", false};
    HANDLE answerer = CreateThread(NULL, 0, engineAnswerer, &question, 0, NULL);
    command(IDM_HELP);
    WaitForSingleObject(answerer, 15000);
    CloseHandle(answerer);
    EXPECT_TRUE(question.answered);
    EXPECT_NE(std::string::npos, question.text.find("quillon95.hlp")) << question.text;
    EXPECT_EQ(1, ed.helpOpened);

    HWND engine = FindWindowA("MS_WINHELP", NULL);
    if (engine) {
        PostMessageA(engine, WM_CLOSE, 0, 0);
        EXPECT_TRUE(waitFor([] { return FindWindowA("MS_WINHELP", NULL) == NULL; }));
    }
    EXPECT_TRUE(IsWindow(ed.mainWnd));
    EXPECT_EQ(64, ed.fileSize);
}

// The view's class taken by another window procedure: the start ends as a
// start without its main window does, rather than running without a view.
TEST(MainWindow, StartEndsWhenTheViewCannotBeMade)
{
    WNDCLASSA taken = {0, DefWindowProcA, 0, 0, GetModuleHandleA(NULL), NULL, NULL, NULL, NULL, "QuillonbaseClass"};
    ASSERT_NE(0, RegisterClassA(&taken));
    EXPECT_FALSE(EditorSession().started());
    UnregisterClassA(taken.lpszClassName, taken.hInstance);
}

TEST(MainWindow, CommandsAndTheirResults)
{
    EditorSession s;
    std::string file = writeTempFile("cmds.bin", patternBytes(64));
    openFile(file.c_str());

    answerNextBox(IDOK);
    command(IDM_ABOUT);
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(appCaption, seenBoxes()[0].caption);
    EXPECT_NE(std::string::npos, seenBoxes()[0].text.find("1.4"));

    // Each dialog runs between dialogOpen = 1 and 0; closing it is cancelling.
    for (int id : {IDM_GOTO, IDM_FIND, IDM_FORMAT}) {
        clearSeenBoxes();
        int openWhileUp = -1;
        onNextBox([&](HWND box) {
            openWhileUp = ed.dialogOpen;
            PostMessageA(box, WM_CLOSE, 0, 0);
        });
        command(id, id == IDM_GOTO ? 32 : 0);
        EXPECT_EQ(1u, seenBoxes().size()) << id;
        EXPECT_EQ(1, openWhileUp) << id;
        EXPECT_EQ(0, ed.dialogOpen) << id;
    }
    EXPECT_EQ(32, ed.goToInitial);
    EXPECT_EQ(0, ed.searching);                 // Find cancelled starts nothing
    EXPECT_EQ(0, ed.searchRequest);

    EXPECT_EQ(0, SendMessageA(ed.mainWnd, WM_COMMAND, IDM_SPACER, 0));
    EXPECT_EQ(0, SendMessageA(ed.mainWnd, WM_COMMAND, IDM_STOPSEARCH, 0));
    EXPECT_EQ(1, SendMessageA(ed.mainWnd, WM_COMMAND, IDM_RECENT1 + 3, 0));
    EXPECT_EQ(MF_GRAYED, GetMenuState(ed.menu, IDM_SPACER, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(MainWindow, PlacementIsTheLastNormalRectangleTakenOnResize)
{
    EditorSession s;
    MoveWindow(ed.mainWnd, 40, 50, 640, 480, TRUE);
    pump();
    EXPECT_EQ(0, ed.showState);
    EXPECT_EQ(40, ed.windowLeft);
    EXPECT_EQ(50, ed.windowTop);
    EXPECT_EQ(640, ed.windowWidth);
    EXPECT_EQ(480, ed.windowHeight);

    RECT client, view;
    GetClientRect(ed.mainWnd, &client);
    GetWindowRect(ed.hexViewWnd, &view);
    EXPECT_EQ(client.bottom - 20, ed.viewRect.bottom);
    EXPECT_EQ(client.right, view.right - view.left);
    EXPECT_EQ(client.bottom - 20, view.bottom - view.top);

    // Moved without resizing: the placement stays.
    SetWindowPos(ed.mainWnd, NULL, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    pump();
    EXPECT_EQ(40, ed.windowLeft);
    EXPECT_EQ(50, ed.windowTop);

    ShowWindow(ed.mainWnd, SW_MAXIMIZE);
    pump();
    EXPECT_EQ(4, ed.showState);
    EXPECT_EQ(640, ed.windowWidth);
    ShowWindow(ed.mainWnd, SW_MINIMIZE);
    pump();
    EXPECT_EQ(2, ed.showState);
    ShowWindow(ed.mainWnd, SW_RESTORE);        // back to maximized
    pump();
    EXPECT_EQ(4, ed.showState);
    ShowWindow(ed.mainWnd, SW_RESTORE);        // the last normal rectangle
    pump();
    EXPECT_EQ(0, ed.showState);
    EXPECT_EQ(100, ed.windowLeft);
    EXPECT_EQ(120, ed.windowTop);
    EXPECT_EQ(640, ed.windowWidth);
    EXPECT_EQ(480, ed.windowHeight);
}

class ExitTest : public ::testing::Test {
protected:
    // A session with the byte at offset 10 changed in the PageBuffer.
    void changeAByte()
    {
        original = patternBytes(500, 9);
        path = writeTempFile("exit.bin", original);
        openFile(path.c_str());
        ASSERT_EQ(500, ed.fileSize);
        ed.pageBuffer[10] ^= 0xFF;
        ed.pageDirty = 1;
    }
    void closeAndWait()
    {
        HWND wnd = ed.mainWnd;
        PostMessageA(wnd, WM_COMMAND, IDM_EXIT, 0);
        ASSERT_TRUE(waitFor([wnd] { return !IsWindow(wnd); }));
    }
    std::vector<unsigned char> original;
    std::string path;
};

TEST_F(ExitTest, UnsavedChangesAreOfferedOnceAndBothAnswersClose)
{
    for (int answer : {IDNO, IDYES}) {
        EditorSession s;
        changeAByte();
        answerNextBox(answer);
        closeAndWait();
        ASSERT_EQ(1u, seenBoxes().size());
        EXPECT_EQ("Do you want to save the changes?", seenBoxes()[0].text);
        std::vector<unsigned char> expected = original;
        if (answer == IDYES) expected[10] ^= 0xFF;
        EXPECT_EQ(expected, readFile(path)) << answer;
    }
}

TEST_F(ExitTest, TheEndOfTheWindowsSessionOffersTheChangesAndWritesTheSettings)
{
    EditorSession s;
    changeAByte();
    // A second end of the session under the question does not end it.
    LRESULT underQuestion = -1;
    onNextBox([&](HWND box) {
        underQuestion = SendMessageA(ed.mainWnd, WM_QUERYENDSESSION, 0, 0);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
    EXPECT_EQ(TRUE, SendMessageA(ed.mainWnd, WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(FALSE, underQuestion);
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Do you want to save the changes?", seenBoxes()[0].text);
    std::vector<unsigned char> expected = original;
    expected[10] ^= 0xFF;
    EXPECT_EQ(expected, readFile(path));

    // Only a session that does end writes the settings.
    ed.viewFormat = 0x21;
    char text[16];
    SendMessageA(ed.mainWnd, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(0, readSetting("Format", text, sizeof text));
    SendMessageA(ed.mainWnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(1, readSetting("Format", text, sizeof text));
    EXPECT_STREQ("33", text);
}

TEST_F(ExitTest, ASecondCloseUnderTheSavePromptLeavesTheFirstToFinish)
{
    EditorSession s;
    changeAByte();
    onNextBox([](HWND box) {
        PostMessageA(ed.mainWnd, WM_CLOSE, 0, 0);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
    });
    closeAndWait();
    ASSERT_EQ(1u, seenBoxes().size());         // no "Write error"
    std::vector<unsigned char> expected = original;
    expected[10] ^= 0xFF;
    EXPECT_EQ(expected, readFile(path));
}

}  // namespace
