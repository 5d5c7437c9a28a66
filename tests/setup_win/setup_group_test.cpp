// The program group in-process: a window of the test plays the Program
// Manager. It is created topmost, after the shell's own server, so the
// broadcast initiate reaches it first and it becomes the partner; each test
// checks that it did.
#include <gtest/gtest.h>

#include <dde.h>

#include "setup_harness.h"

using namespace harness;

namespace {

struct FakeServer {
    HWND wnd = NULL;
    HWND client = NULL;
    bool answerInitiate = true;
    WORD ackStatus = 0x8000;
    int holdFrom = -1;                  // executes from this one on get no answer
    std::vector<std::string> log;       // what arrived, in order
    std::vector<SIZE_T> blockSizes;
    std::vector<HGLOBAL> clientBlocks;  // the setup's command blocks, as it posted them
    std::vector<HGLOBAL> clientAcks;    // the packed answers as the setup received them
    int executes = 0;
    int stillAllocated = 0;             // earlier blocks or packed answers not freed
    std::function<void()> onHold;
};

FakeServer *fake;

std::string atomName(ATOM a)
{
    char buf[64] = "";
    GlobalGetAtomNameA(a, buf, sizeof buf);
    return buf;
}

// The setup's earlier command blocks and the packed answers it received are
// freed by now. (Wine hands the server a copy of each block; a freed handle
// may come back as the setup's current block or as that copy.)
void countStillAllocated(HGLOBAL received)
{
    for (const auto *list : {&fake->clientBlocks, &fake->clientAcks})
        for (HGLOBAL h : *list)
            if (h != st.ddeCommands && h != received && GlobalSize(h) != 0) ++fake->stillAllocated;
}

// Sees the acknowledgements as the setup's dialog takes them from its queue.
LRESULT CALLBACK getMessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    MSG *m = (MSG *)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && fake && m->message == WM_DDE_ACK &&
        m->hwnd == st.setupDialog && (HWND)m->wParam == fake->wnd)
        fake->clientAcks.push_back((HGLOBAL)m->lParam);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT CALLBACK fakeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DDE_INITIATE:
        if (lstrcmpiA(atomName(LOWORD(lParam)).c_str(), "PROGMAN") != 0 ||
            lstrcmpiA(atomName(HIWORD(lParam)).c_str(), "PROGMAN") != 0)
            return 0;
        fake->log.push_back("initiate");
        fake->client = (HWND)wParam;
        if (fake->answerInitiate)
            SendMessageA(fake->client, WM_DDE_ACK, (WPARAM)wnd,
                         MAKELPARAM(GlobalAddAtomA("PROGMAN"), GlobalAddAtomA("PROGMAN")));
        return 0;
    case WM_DDE_EXECUTE: {
        HGLOBAL block = (HGLOBAL)lParam;
        countStillAllocated(block);
        const char *text = (const char *)GlobalLock(block);
        fake->log.push_back(text ? text : "(unreadable)");
        GlobalUnlock(block);
        fake->clientBlocks.push_back(st.ddeCommands);
        fake->blockSizes.push_back(GlobalSize(st.ddeCommands));
        int index = fake->executes++;
        if (fake->holdFrom >= 0 && index >= fake->holdFrom) {
            if (fake->onHold) later(fake->onHold);
            return 0;
        }
        LPARAM answer = PackDDElParam(WM_DDE_ACK, fake->ackStatus, (UINT_PTR)block);
        PostMessageA((HWND)wParam, WM_DDE_ACK, (WPARAM)wnd, answer);
        return 0;
    }
    case WM_DDE_TERMINATE:
        countStillAllocated(NULL);
        fake->log.push_back("terminate");
        PostMessageA((HWND)wParam, WM_DDE_TERMINATE, (WPARAM)wnd, 0);
        return 0;
    }
    if (msg >= WM_DDE_FIRST && msg <= WM_DDE_LAST) fake->log.push_back("other DDE message");
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

class Group : public ::testing::Test {
protected:
    void SetUp() override
    {
        deleteSetupKey();
        removeTree("c:\\quillon95");
        WNDCLASSA wc = {};
        wc.lpfnWndProc = fakeProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "fakeProgman";
        RegisterClassA(&wc);
        fake = &server;
        getHook = SetWindowsHookExA(WH_GETMESSAGE, getMessageProc, NULL, GetCurrentThreadId());
        server.wnd = CreateWindowExA(WS_EX_TOPMOST, "fakeProgman", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                     GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(server.wnd != NULL);
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(getHook);
        DestroyWindow(server.wnd);
        UnregisterClassA("fakeProgman", GetModuleHandleA(NULL));
        fake = nullptr;
        removeTree("c:\\quillon95");
        deleteSetupKey();
    }
    // Runs the setup with the default directory and the box checked, and
    // notes which server the conversation chose.
    void runWithIcons(const char *missing = nullptr, bool icons = true)
    {
        makeSources("group", missing);
        answer(IDYES);
        answer(IDOK);
        chosen = NULL;
        runOnce([this, icons](HWND dlg) {
            if (!broadcast) st.initiateTarget = server.wnd;
            fill(nullptr, icons)(dlg);
            later([] { chosenServer() = st.ddeServer; }, 10);
        });
        chosen = chosenServer();
    }
    static HWND &chosenServer()
    {
        static HWND h;
        return h;
    }
    FakeServer server;
    HHOOK getHook = NULL;
    HWND chosen = NULL;
    bool broadcast = true;
};

// Wine's default personality is Windows 7, which has no WinHelp: the help
// item shows the text file.
const std::vector<std::string> fiveCommands = {
    "initiate",
    "[CreateGroup(\"Quillon 95\")]",
    "[ShowGroup(\"Quillon 95\",1)]",
    "[AddItem(\"c:\\quillon95\\quillon95.exe\",Quillon95)]",
    "[AddItem(\"c:\\quillon95\\quillon95.txt\",Quillon95.hlp)]",
    "[AddItem(\"c:\\quillon95\\quillon95.txt\",Quillon95.txt)]",
    "terminate",
};

TEST_F(Group, FiveCommandsInOrderThenTheTerminate)
{
    // Refused commands do not stop the sequence.
    for (WORD status : {(WORD)0x8000, (WORD)0}) {
        SCOPED_TRACE(status);
        server.log.clear();
        server.clientBlocks.clear();
        server.clientAcks.clear();
        server.blockSizes.clear();
        server.executes = 0;
        server.stillAllocated = 0;
        server.ackStatus = status;
        removeTree("c:\\quillon95");
        runWithIcons();

        EXPECT_EQ(server.wnd, st.ddeServer);
        EXPECT_EQ(fiveCommands, server.log);
        ASSERT_EQ(2u, boxTexts().size());     // the question to create c:\quillon95, the result
        EXPECT_EQ("Setup completed", boxTexts()[1]);
        EXPECT_EQ(0, unexpectedBoxes());
        EXPECT_EQ("c:\\quillon95\\", readHdir());
        for (SIZE_T size : server.blockSizes) EXPECT_EQ(256u, size);
        // Each block and each packed answer was freed before the next
        // message reached the server.
        EXPECT_EQ(0, server.stillAllocated);
        EXPECT_EQ(5u, server.clientAcks.size());
        EXPECT_TRUE(st.ddeCommands == NULL);
    }
}

// A top-level window of another thread that stops taking messages. It
// takes them again after a while, so a setup that waits for it ends late
// instead of never.
struct HungWindow {
    HANDLE created = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE release = CreateEventA(NULL, TRUE, FALSE, NULL);
};

DWORD WINAPI hungWindowThread(LPVOID param)
{
    HungWindow *hung = (HungWindow *)param;
    HWND wnd = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    SetEvent(hung->created);
    WaitForSingleObject(hung->release, 30000);
    DestroyWindow(wnd);
    return 0;
}

TEST_F(Group, AWindowThatDoesNotAnswerDelaysTheGroupOnlyForABound)
{
    HungWindow hung;
    HANDLE thread = CreateThread(NULL, 0, hungWindowThread, &hung, 0, NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hung.created, 10000));
    DWORD start = GetTickCount();
    runWithIcons();
    DWORD took = GetTickCount() - start;
    SetEvent(hung.release);
    WaitForSingleObject(thread, 10000);
    for (HANDLE h : {thread, hung.created, hung.release}) CloseHandle(h);

    EXPECT_EQ(server.wnd, st.ddeServer);
    EXPECT_EQ(fiveCommands, server.log);
    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("Setup completed", boxTexts()[1]);
    EXPECT_LT(took, 15000u);
}

TEST_F(Group, UncheckedBoxSendsNoDdeMessage)
{
    runWithIcons(nullptr, false);
    EXPECT_TRUE(server.log.empty()) << server.log.size();
    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("Setup completed", boxTexts()[1]);
    EXPECT_EQ(0, st.ddeStep);
}

TEST_F(Group, WithoutAnAnswerTheRunEndsWithTheCopyResult)
{
    // The initiate goes to the silent server alone: nobody answers.
    server.answerInitiate = false;
    broadcast = false;
    for (const char *missing : {(const char *)nullptr, ".txt"}) {
        server.log.clear();
        removeTree("c:\\quillon95");
        runWithIcons(missing);
        EXPECT_EQ(std::vector<std::string>{"initiate"}, server.log);
        ASSERT_EQ(2u, boxTexts().size());
        EXPECT_EQ(missing ? "Setup failed" : "Setup completed", boxTexts()[1]);
        EXPECT_TRUE(st.ddeServer == NULL);
    }
}

TEST_F(Group, CancelWhileWaitingFreesTheBlockAndSendsNothingMore)
{
    server.holdFrom = 2;
    server.onHold = [] { PostMessageA(st.setupDialog, WM_COMMAND, IDC_SETUP_CANCEL, 0); };
    SIZE_T heldSize = 1;
    boxActions().clear();
    makeSources("cancel");
    answer(IDYES);
    boxActions().push_back([&](HWND box) {
        if (!server.clientBlocks.empty()) heldSize = GlobalSize(server.clientBlocks.back());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    runOnce(fill(nullptr, true));

    EXPECT_EQ(server.wnd, st.ddeServer);
    std::vector<std::string> expected(fiveCommands.begin(), fiveCommands.begin() + 4);
    EXPECT_EQ(expected, server.log);
    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("Setup canceled", boxTexts()[1]);
    EXPECT_EQ(0u, heldSize);
    EXPECT_TRUE(st.ddeCommands == NULL);
    // The files were copied all the same.
    EXPECT_TRUE(exists("c:\\quillon95\\quillon95.txt"));
}

}  // namespace
