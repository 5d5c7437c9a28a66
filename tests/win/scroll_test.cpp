// Scrolling the real hex view: the ranges of short, large and the largest
// files, every request of both scroll bars, what leaves the view with the
// rows, and the search that a vertical scroll stops.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "search/search.h"
#include "shell/statusbar.h"
#include "wintest.h"

using namespace wintest;

namespace {

// Sizes the main window so that the hex view's client area is the given
// number of columns and text lines.
void sizeViewTo(int columns, int lines)
{
    RECT w;
    GetWindowRect(ed.mainWnd, &w);
    int width = w.right - w.left, height = w.bottom - w.top;
    for (int i = 0; i < 4; ++i) {
        MoveWindow(ed.mainWnd, 0, 0, width, height, TRUE);
        pump();
        RECT c;
        GetClientRect(ed.hexViewWnd, &c);
        int dw = columns * ed.charWidth - c.right, dh = lines * ed.charHeight - c.bottom;
        if (dw == 0 && dh == 0) break;
        width += dw;
        height += dh;
    }
    repaint();
}

LRESULT vscroll(int request, int thumb = 0)
{
    return SendMessageA(ed.hexViewWnd, WM_VSCROLL, MAKEWPARAM(request, thumb), 0);
}

LRESULT hscroll(int request, int thumb = 0)
{
    return SendMessageA(ed.hexViewWnd, WM_HSCROLL, MAKEWPARAM(request, thumb), 0);
}

bool viewInvalid()
{
    RECT r;
    return GetUpdateRect(ed.hexViewWnd, &r, FALSE) != FALSE;
}

class ScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.started());
        repaint();
        ASSERT_NE(0, ed.charWidth);
        sizeViewTo(90, 30);
        RECT c;
        GetClientRect(ed.hexViewWnd, &c);
        ASSERT_EQ(30 * ed.charHeight, c.bottom);
    }
    void open(const std::string &path)
    {
        openFile(path.c_str());
        repaint();
    }
    EditorSession session;
};

TEST_F(ScrollTest, ShortFileNeverScrolls)
{
    open(writeTempFile("short.bin", patternBytes(100)));
    EXPECT_EQ(-20, ed.topRowMax);
    int lo = -1, hi = -1;
    GetScrollRange(ed.hexViewWnd, SB_VERT, &lo, &hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(1, hi);
    for (int request : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM, SB_THUMBPOSITION}) {
        ASSERT_FALSE(viewInvalid());
        vscroll(request, 1);
        EXPECT_EQ(0, ed.topRow) << request;
        EXPECT_FALSE(viewInvalid()) << "repainted for " << request;
    }
}

TEST_F(ScrollTest, MillionBytesEveryVerticalRequest)
{
    std::vector<unsigned char> bytes = patternBytes(1000000, 5);
    open(writeTempFile("million.bin", bytes));
    EXPECT_EQ(30, ed.visibleRows);
    EXPECT_EQ(62474, ed.topRowMax);
    EXPECT_EQ(2, ed.vScrollScale);
    EXPECT_EQ(31251, ed.vScrollMax);
    int lo = -1, hi = -1;
    GetScrollRange(ed.hexViewWnd, SB_VERT, &lo, &hi);
    EXPECT_EQ(31251, hi);

    struct Case {
        const char *what;
        int request, thumb;
        int32_t expected;
    } cases[] = {
        {"thumb 1000 shows row 2000", SB_THUMBPOSITION, 1000, 2000},
        {"page down by 29", SB_PAGEDOWN, 0, 2029},
        {"page up by 29", SB_PAGEUP, 0, 2000},
        {"line down", SB_LINEDOWN, 0, 2001},
        {"line up", SB_LINEUP, 0, 2000},
        {"thumb track does not follow", SB_THUMBTRACK, 5000, 2000},
        {"end scroll", SB_ENDSCROLL, 0, 2000},
        {"bottom", SB_BOTTOM, 0, 62474},
        {"line down at the bottom", SB_LINEDOWN, 0, 62474},
        {"page down at the bottom", SB_PAGEDOWN, 0, 62474},
        {"thumb past the end", SB_THUMBPOSITION, 31251, 62474},
        {"top", SB_TOP, 0, 0},
        {"line up at the top", SB_LINEUP, 0, 0},
        {"page up at the top", SB_PAGEUP, 0, 0},
        {"thumb 7", SB_THUMBPOSITION, 7, 14},
    };
    for (const Case &c : cases) {
        setStatusText("Searching", 0, 0);
        vscroll(c.request, c.thumb);
        EXPECT_EQ(c.expected, ed.topRow) << c.what;
        EXPECT_EQ(c.expected / 2, GetScrollPos(ed.hexViewWnd, SB_VERT)) << c.what;
        EXPECT_EQ("", statusText(0)) << c.what;
        repaint();
        // The paint shows the row from the window, loaded at the first row.
        EXPECT_EQ(16 * c.expected, ed.topOffset) << c.what;
        EXPECT_TRUE(pageHolds(ed.topOffset, ed.topOffset + 16 * ed.visibleRows)) << c.what;
        size_t shown = std::min<size_t>(16 * 28, bytes.size() - ed.topOffset);
        EXPECT_EQ(0, memcmp(ed.pageBuffer + (ed.topOffset - ed.pageBase), &bytes[ed.topOffset],
                            shown))
            << c.what;
    }

    vscroll(SB_BOTTOM);
    repaint();
    EXPECT_EQ(99, ed.percent);
    std::string title = windowText(ed.mainWnd);
    EXPECT_EQ("million.bin (1,000,000 bytes) 99 %", title.substr(title.size() - 34));
}

TEST_F(ScrollTest, ScrollingWithinTheWindowReadsNothing)
{
    open(writeTempFile("reads.bin", patternBytes(200000, 8)));
    vscroll(SB_THUMBPOSITION, 3000);
    repaint();
    int32_t base = ed.pageBase;
    EXPECT_EQ(16 * 3000, base);
    for (int i = 0; i < 20; ++i) vscroll(SB_LINEDOWN);
    repaint();
    EXPECT_EQ(base, ed.pageBase);
}

TEST_F(ScrollTest, EveryHorizontalRequestAndWideningResets)
{
    open(writeTempFile("wide.bin", patternBytes(5000)));
    sizeViewTo(40, 20);
    EXPECT_EQ(75 - 40 + 3, ed.hScrollMax);
    struct Case {
        const char *what;
        int request, thumb;
        int32_t expected;
    } cases[] = {
        {"right", SB_RIGHT, 0, 38},         {"line right at the end", SB_LINERIGHT, 0, 38},
        {"page right at the end", SB_PAGERIGHT, 0, 38},
        {"left", SB_LEFT, 0, 0},            {"line left at the start", SB_LINELEFT, 0, 0},
        {"page left at the start", SB_PAGELEFT, 0, 0},
        {"line right", SB_LINERIGHT, 0, 1}, {"page right", SB_PAGERIGHT, 0, 11},
        {"line left", SB_LINELEFT, 0, 10},  {"page left", SB_PAGELEFT, 0, 0},
        {"thumb", SB_THUMBPOSITION, 17, 17}, {"thumb track", SB_THUMBTRACK, 30, 17},
        {"end scroll", SB_ENDSCROLL, 0, 17},
    };
    for (const Case &c : cases) {
        hscroll(c.request, c.thumb);
        EXPECT_EQ(c.expected, ed.hScrollPos) << c.what;
        EXPECT_EQ(c.expected, GetScrollPos(ed.hexViewWnd, SB_HORZ)) << c.what;
    }
    sizeViewTo(100, 20);
    EXPECT_EQ(0, ed.hScrollMax);
    EXPECT_EQ(0, ed.hScrollPos);
    EXPECT_EQ(0, GetWindowLongA(ed.hexViewWnd, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(ScrollTest, LargestFileScrollsToItsLastRow)
{
    const char marker[] = "last row, 15 b";   // 15 bytes with its zero
    std::string path = writeSparseFile("sparse.bin", 0x7FFFFFFF, {{0x7FFFFFF0, std::string(marker, sizeof marker)}});
    ASSERT_FALSE(path.empty());

    open(path);
    ASSERT_EQ(0x7FFFFFFF, ed.fileSize);
    EXPECT_EQ(134217701, ed.topRowMax);
    EXPECT_EQ(4096, ed.vScrollScale);
    EXPECT_EQ(32768, ed.vScrollMax);

    vscroll(SB_BOTTOM);
    repaint();
    EXPECT_EQ(ed.topRowMax, ed.topRow);
    EXPECT_EQ(16 * ed.topRowMax, ed.topOffset);
    EXPECT_EQ(ed.topOffset, ed.pageBase);
    EXPECT_EQ(0, memcmp(ed.pageBuffer + (0x7FFFFFF0 - ed.pageBase), marker, sizeof marker));
    EXPECT_EQ(99, ed.percent);
    std::string title = windowText(ed.mainWnd);
    EXPECT_NE(std::string::npos, title.find("(2,147,483,647 bytes) 99 %")) << title;

    // The page-down, line-down and thumb requests at the end stay in range.
    vscroll(SB_PAGEDOWN);
    vscroll(SB_LINEDOWN);
    EXPECT_EQ(134217701, ed.topRow);
    vscroll(SB_TOP);
    vscroll(SB_THUMBPOSITION, 32768);
    EXPECT_EQ(134217701, ed.topRow);
    repaint();
    EXPECT_EQ(ed.topOffset, ed.pageBase);

    openFile("");
    DeleteFileA(path.c_str());
}

TEST_F(ScrollTest, CaretAndHighlightLeaveWithTheirRows)
{
    open(writeTempFile("caret.bin", patternBytes(100000)));
    ed.editMode = 1;
    ed.caretOffset = 16 * 5 + 3;
    ed.selStart = ed.caretOffset;
    ed.selLength = 1;
    showOffsetInStatus();
    EXPECT_EQ("Offset: 53 (HEX)", statusText(1));

    vscroll(SB_LINEDOWN);           // row 5 is still shown
    EXPECT_EQ(16 * 5 + 3, ed.caretOffset);
    EXPECT_EQ(1, ed.selLength);

    vscroll(SB_PAGEDOWN);           // now it is above the view
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(1, ed.editMode);
    EXPECT_EQ("", statusText(1));

    // In view mode a highlight below the view goes the same way.
    ed.editMode = 0;
    ed.topRow = 0;
    ed.selStart = 16 * 29;
    ed.selLength = 4;
    ed.selSkipSecond = 1;
    ed.selSkipPenultimate = 1;
    vscroll(SB_TOP);                // unchanged row: nothing happens
    EXPECT_EQ(4, ed.selLength);
    vscroll(SB_LINEDOWN);           // row 29 now shown on the last line
    EXPECT_EQ(4, ed.selLength);
    vscroll(SB_TOP);                // row 29 below the view again
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(0, ed.selSkipSecond);
    EXPECT_EQ(0, ed.selSkipPenultimate);
}

TEST_F(ScrollTest, VerticalScrollStopsARunningSearch)
{
    open(writeTempFile("search.bin", patternBytes(100000)));
    // stopSearch belongs to the search engine; without it in this tree
    // there is nothing to stop.
    ed.searching = 1;
    answerNextBox(IDOK);
    stopSearch();
    bool engine = ed.searching == 0;
    ed.searching = 0;
    clearSeenBoxes();
    removeBoxHook();
    installBoxHook();
    if (!engine) GTEST_SKIP() << "the search engine is not in this tree";

    // Horizontal scrolling leaves the search alone.
    sizeViewTo(40, 30);
    ed.searching = 1;
    hscroll(SB_RIGHT);
    EXPECT_EQ(1, ed.searching);
    EXPECT_TRUE(seenBoxes().empty());

    answerNextBox(IDOK);
    vscroll(SB_LINEDOWN);
    EXPECT_EQ(0, ed.searching);
    EXPECT_EQ(1, ed.topRow);
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Search aborted", seenBoxes()[0].text);
}

}  // namespace
