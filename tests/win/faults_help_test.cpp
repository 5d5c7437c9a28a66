// The Help command with a help file that is missing, unreadable or not a
// help file: the editor hands the help engine a name, the engine says what
// is wrong in its own message, and the editor goes on. Without WinHelp
// (Windows Vista and later) the help is the text file in Notepad, and its
// absence is the editor's own message.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/editor_state.h"
#include "wintest.h"

using namespace wintest;

namespace {

// Watches, from a thread of its own, for message boxes of other processes
// (the help engine runs as one) and answers each with No, else OK, keeping
// their texts. The Help command waits inside WinHelpA until the engine's
// message is answered, so the answers cannot come from the test's thread.
class ForeignBoxes {
public:
    ForeignBoxes() : stop_(false) { thread_ = CreateThread(NULL, 0, run, this, 0, NULL); }
    ~ForeignBoxes()
    {
        stop_ = true;
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
    std::vector<std::string> texts()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }
    bool waitForOne(int timeoutMs)
    {
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            if (!texts().empty()) return true;
            Sleep(50);
        }
        return false;
    }

private:
    static BOOL CALLBACK collectText(HWND child, LPARAM lp)
    {
        char cls[32], text[512];
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
            *(std::string *)lp += text;
        return TRUE;
    }
    static BOOL CALLBACK visit(HWND wnd, LPARAM lp)
    {
        ForeignBoxes *self = (ForeignBoxes *)lp;
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        char cls[32];
        GetClassNameA(wnd, cls, sizeof cls);
        if (pid == GetCurrentProcessId() || strcmp(cls, "#32770") != 0 || !IsWindowVisible(wnd)) return TRUE;
        if (std::find(self->answered_.begin(), self->answered_.end(), wnd) != self->answered_.end()) return TRUE;
        std::string text;
        EnumChildWindows(wnd, collectText, (LPARAM)&text);
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->texts_.push_back(text);
        }
        self->answered_.push_back(wnd);
        PostMessageA(wnd, WM_COMMAND, GetDlgItem(wnd, IDNO) ? IDNO : IDOK, 0);
        return TRUE;
    }
    static DWORD WINAPI run(void *p)
    {
        ForeignBoxes *self = (ForeignBoxes *)p;
        while (!self->stop_) {
            EnumWindows(visit, (LPARAM)self);
            Sleep(50);
        }
        return 0;
    }
    HANDLE thread_;
    std::atomic<bool> stop_;
    std::mutex mutex_;
    std::vector<std::string> texts_;
    std::vector<HWND> answered_;
};

struct HelpCase {
    const char *name;
    std::string helpDir;        // the full path of the help file, as the settings leave it
    const char *engineSays;     // part of the help engine's message
};

TEST(Help, BrokenHelpFileFallsBackOrIsReportedByTheEngine)
{
    std::string garbage = writeTempFile("garbage.hlp", patternBytes(3000, 5));
    std::string locked = writeTempFile("locked.hlp", patternBytes(100, 6));
    std::string folder = tempPath("folder.hlp");
    CreateDirectoryA(folder.c_str(), NULL);
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);

    const HelpCase cases[] = {
        {"no setting", "", "Cannot find 'quillon95.hlp'"},
        {"missing file", tempPath("gone\\quillon95.hlp"), "Cannot find 'quillon95.hlp'"},
        {"not a help file", garbage, "Error while reading the help file"},
        {"locked by another program", locked, "locked.hlp"},
        {"a folder", folder, "Cannot find 'quillon95.hlp'"},
    };
    std::string data = writeTempFile("data.bin", patternBytes(100, 8));
    for (const HelpCase &c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession s;
        ed.winHelp = 1;     // as on Windows 95 to XP
        openFile(data.c_str());
        strcpy(ed.helpDir, c.helpDir.c_str());
        {
            ForeignBoxes engine;
            SendMessageA(ed.mainWnd, WM_COMMAND, IDM_HELP, 0);
            ASSERT_TRUE(engine.waitForOne(10000)) << "the help engine showed nothing";
            std::vector<std::string> texts = engine.texts();
            EXPECT_NE(std::string::npos, texts[0].find(c.engineSays)) << texts[0];
        }
        EXPECT_EQ(1, ed.helpOpened);
        EXPECT_TRUE(IsWindow(ed.mainWnd));
        EXPECT_TRUE(seenBoxes().empty());
        // The editor goes on working.
        loadPage(16);
        EXPECT_EQ(16, ed.pageBase);
        EXPECT_EQ(100, ed.fileSize);
    }
    CloseHandle(lock);
}

TEST(Help, WithoutWinHelpTheTextFileIsShownInNotepad)
{
    // The installed copy (beside the help file that HDir names) wins over
    // the one beside the program; with neither, the editor says so.
    char program[MAX_PATH];
    GetModuleFileNameA(NULL, program, sizeof program);
    std::string beside = std::string(program, strrchr(program, '\\') + 1) + "quillon95.txt";
    std::string installed = writeTempFile("quillon95.txt", {'s', 'e', 't', 'u', 'p'});
    const struct { std::string helpDir; const char *besideText, *shown; } cases[] = {
        {installed.substr(0, installed.size() - 3) + "hlp", "beside", "setup"},
        {tempPath("gone\\quillon95.hlp"), "beside", "beside"},
        {"", NULL, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.helpDir);
        FILE *f = fopen(beside.c_str(), "wb");
        if (f) fputs(c.besideText ? c.besideText : "", f), fclose(f);
        if (!c.besideText) DeleteFileA(beside.c_str());
        EditorSession s;
        EXPECT_EQ(0, ed.winHelp) << "Wine's default personality is Windows 7";
        strcpy(ed.helpDir, c.helpDir.c_str());
        if (!c.besideText) answerNextBox(IDOK);
        SendMessageA(ed.mainWnd, WM_COMMAND, IDM_HELP, 0);
        HWND notepad = NULL;
        char text[64] = "";
        if (c.besideText && waitFor([&] { return (notepad = FindWindowA("Notepad", "quillon95.txt - Notepad")) != NULL; }, 20000)) {
            // Notepad's edit field, read across the processes.
            waitFor([&] { return SendMessageA(GetWindow(notepad, GW_CHILD), WM_GETTEXT, sizeof text, (LPARAM)text) > 0; });
            PostMessageA(notepad, WM_CLOSE, 0, 0);
            EXPECT_TRUE(waitFor([] { return !FindWindowA("Notepad", NULL); }, 10000));
        }
        EXPECT_STREQ(c.shown, text);
        EXPECT_EQ(c.besideText ? 0u : 1u, seenBoxes().size());
        if (!c.besideText && !seenBoxes().empty()) {
            EXPECT_NE(std::string::npos, seenBoxes()[0].text.find("quillon95.txt was not found"));
        }
        EXPECT_EQ(0, ed.helpOpened);
    }
    DeleteFileA(beside.c_str());
}

}  // namespace
