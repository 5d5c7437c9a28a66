// The status bar's parts and texts, and the main window's title as files
// are opened and the view moves through them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include <string>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "shell/statusbar.h"
#include "shell/title.h"
#include "wintest.h"

using namespace wintest;

namespace {

std::string titleTail(size_t n)
{
    std::string t = windowText(ed.mainWnd);
    return t.size() < n ? t : t.substr(t.size() - n);
}

TEST(StatusBar, TwoPartsAndTheOffsetInEitherRadix)
{
    EditorSession s;
    ASSERT_TRUE(s.started());
    ASSERT_NE((HWND)NULL, ed.statusWnd);
    EXPECT_EQ(333, GetDlgCtrlID(ed.statusWnd));
    EXPECT_EQ(ed.mainWnd, GetParent(ed.statusWnd));
    // (The control takes WS_BORDER off its own style as it is created.)
    LONG style = GetWindowLongA(ed.statusWnd, GWL_STYLE);
    EXPECT_EQ((LONG)(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP),
              style & (WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP));
    int edges[4] = {0, 0, 0, 0};
    EXPECT_EQ(2, SendMessageA(ed.statusWnd, SB_GETPARTS, 4, (LPARAM)edges));
    EXPECT_EQ(200, edges[0]);
    EXPECT_EQ(350, edges[1]);
    EXPECT_EQ("", statusText(0));
    EXPECT_EQ("", statusText(1));       // nothing highlighted

    openFile(writeTempFile("status.bin", patternBytes(100)).c_str());
    ed.selStart = 31;
    ed.selLength = 1;
    ed.viewFormat = 0x11;
    showOffsetInStatus();
    EXPECT_EQ("Offset: 1f (HEX)", statusText(1));
    // Part 1 is drawn raised.
    LRESULT length = SendMessageA(ed.statusWnd, SB_GETTEXTLENGTHA, 1, 0);
    EXPECT_EQ(SBT_POPOUT, HIWORD(length) & SBT_POPOUT);
    EXPECT_EQ(0, HIWORD(SendMessageA(ed.statusWnd, SB_GETTEXTLENGTHA, 0, 0)) & SBT_POPOUT);

    ed.viewFormat = 0x01;
    showOffsetInStatus();
    EXPECT_EQ("Offset: 31 (DEC)", statusText(1));
    ed.selLength = 0;
    showOffsetInStatus();
    EXPECT_EQ("", statusText(1));

    // Opening a file clears the highlight and with it part 1.
    ed.selLength = 2;
    showOffsetInStatus();
    setStatusText("Searching", 0, 0);
    EXPECT_EQ("Searching", statusText(0));
    openFile(writeTempFile("status2.bin", patternBytes(10)).c_str());
    EXPECT_EQ("", statusText(0));
    EXPECT_EQ("", statusText(1));
}

TEST(Title, FollowsTheFileAndTheView)
{
    EditorSession s;
    ASSERT_TRUE(s.started());
    EXPECT_EQ("Quillon 95", windowText(ed.mainWnd));

    openFile(writeTempFile("A.BIN", patternBytes(1234567)).c_str());
    EXPECT_EQ("Quillon 95   A.BIN (1,234,567 bytes)  0 %", windowText(ed.mainWnd));
    EXPECT_STREQ("A.BIN", ed.fileTitle);

    openFile(writeTempFile("b.bin", patternBytes(999)).c_str());
    ed.topRow = 30;                      // offset 480
    repaint();
    EXPECT_EQ(48, ed.percent);
    EXPECT_EQ("b.bin (999 bytes) 48 %", titleTail(22));

    openFile(writeTempFile("e.bin", {}).c_str());
    EXPECT_EQ("Quillon 95   e.bin (0 bytes)  0 %", windowText(ed.mainWnd));

    // Above 20,000,000 bytes the percent is taken by the divided form.
    std::string big = writeSparseFile("big.bin", 30000000);
    ASSERT_FALSE(big.empty());
    openFile(big.c_str());
    ed.topRow = 15000000 / 16;
    repaint();
    EXPECT_EQ("(30,000,000 bytes) 50 %", titleTail(23));
    ed.topRow = 29999984 / 16;
    repaint();
    EXPECT_EQ("(30,000,000 bytes) 99 %", titleTail(23));
    openFile("");
    EXPECT_EQ("Quillon 95", windowText(ed.mainWnd));
    DeleteFileA(big.c_str());

    // A view 0 pixels high is never painted: the percentage still follows it.
    openFile(writeTempFile("low.bin", patternBytes(1600)).c_str());
    MoveWindow(ed.mainWnd, 0, 0, 700, 68, TRUE);
    RECT view;
    GetClientRect(ed.hexViewWnd, &view);
    ASSERT_TRUE(IsRectEmpty(&view));
    const std::pair<int, const char *> keys[] = {{VK_END, "99 %"}, {VK_HOME, " 0 %"}, {VK_DOWN, " 1 %"}};
    for (const auto &k : keys) {
        SendMessageA(ed.mainWnd, WM_KEYDOWN, k.first, 0);
        pump();
        EXPECT_EQ(std::string("(1,600 bytes) ") + k.second, titleTail(18)) << k.first;
    }
}

TEST(Title, RelativePathAndVeryLongNamesFit)
{
    EditorSession s;
    ASSERT_TRUE(s.started());
    // A path without a backslash shows whole.
    strcpy(ed.fileName, "plain.bin");
    ed.fileSize = 1000;
    ed.percent = 7;
    updateTitle();
    EXPECT_EQ("Quillon 95   plain.bin (1,000 bytes)  7 %", windowText(ed.mainWnd));

    // The longest name the document holds: the title is cut, never overrun,
    // and still ends with the size and the percent.
    std::string name(PATH_CHARS - 4, 'n');
    strcpy(ed.fileName, ("C:\\" + name).c_str());
    ed.fileSize = 0x7FFFFFFF;
    ed.percent = 100;
    updateTitle();
    std::string t = windowText(ed.mainWnd);
    EXPECT_EQ(255u, t.size());
    EXPECT_EQ("Quillon 95   nnnn", t.substr(0, 17));
    EXPECT_EQ("n (2,147,483,647 bytes) 100 %", t.substr(t.size() - 29));
    EXPECT_EQ(name, std::string(ed.fileTitle));
    ed.fileName[0] = '\0';
    ed.fileSize = 0;
}

}  // namespace
