// The scroll ranges for short, large and the largest files, and the new
// position after every request of both scroll bars.
#include <gtest/gtest.h>

#include "hexview/scrollmath.h"

namespace {

TEST(VerticalRange, WorkedFigures)
{
    struct Case {
        const char *what;
        int32_t fileSize, clientHeight, charHeight;
        int32_t topRowMax, scale, max;
    } cases[] = {
        {"100 bytes", 100, 30 * 16, 16, -20, 1, 1},
        {"empty file", 0, 30 * 16, 16, -26, 1, 1},
        {"one screen", 28 * 16, 30 * 16, 16, 2, 1, 2},
        {"one million bytes", 1000000, 30 * 16, 16, 62474, 2, 31251},
        {"rows just fitting one unit each", 32767 * 16 + 26 * 16, 30 * 16, 16, 32767, 1, 32767},
        {"2 GiB - 1", 0x7FFFFFFF, 30 * 16, 16, 134217701, 4096, 32768},
        {"2 GiB - 1, partial last line", 0x7FFFFFFF, 30 * 16 + 5, 16, 134217701, 4096, 32768},
        // A view lower than one row must still keep row offsets in 32 bits.
        {"2 GiB - 1, tiny view", 0x7FFFFFFF, 0, 16, 0x7FFFFFF, 4096, 32768},
        {"17 bytes, three lines: the last row stays in view", 17, 3 * 16, 16, 1, 1, 1},
        {"100 bytes, no line", 100, 0, 16, 6, 1, 6},
    };
    for (const Case &c : cases) {
        VerticalRange r = verticalRange(c.fileSize, c.clientHeight, c.charHeight);
        EXPECT_EQ(c.topRowMax, r.topRowMax) << c.what;
        EXPECT_EQ(c.scale, r.vScrollScale) << c.what;
        EXPECT_EQ(c.max, r.vScrollMax) << c.what;
        // The last row is reachable and every thumb position maps into range.
        if (r.topRowMax > 0) {
            EXPECT_LE((int64_t)r.topRowMax * 16, 0x7FFFFFFF) << c.what;
            EXPECT_EQ(r.topRowMax, scrolledRow(SCROLL_THUMBPOSITION, r.vScrollMax, 0, r.topRowMax,
                                               30, r.vScrollScale))
                << c.what;
        }
    }
}

TEST(VerticalRange, ThumbOfAMillionByteFileMovesTwoRowsPerUnit)
{
    VerticalRange r = verticalRange(1000000, 30 * 16, 16);
    for (int32_t t : {0, 1, 7, 1000, 31236}) {
        int32_t row = scrolledRow(SCROLL_THUMBPOSITION, t, 0, r.topRowMax, 30, r.vScrollScale);
        EXPECT_EQ(2 * t, row);
        EXPECT_EQ(32 * t, row * 16);
    }
}

TEST(HorizontalMax, RowFitsOrNot)
{
    EXPECT_EQ(0, horizontalMax(75, 80 * 8, 8));
    EXPECT_EQ(0, horizontalMax(75, 78 * 8, 8));
    EXPECT_EQ(1, horizontalMax(75, 77 * 8, 8));
    EXPECT_EQ(75 - 40 + 3, horizontalMax(75, 40 * 8 + 7, 8));
    EXPECT_EQ(112, horizontalMax(109, 0, 8));
}

TEST(ScrolledRow, EveryVerticalRequest)
{
    struct Case {
        const char *what;
        int request, thumb;
        int32_t topRow, topRowMax, expected;
    } cases[] = {
        {"top", SCROLL_TOP, 0, 500, 1000, 0},
        {"bottom", SCROLL_BOTTOM, 0, 5, 1000, 1000},
        {"bottom of a short file", SCROLL_BOTTOM, 0, 0, -20, 0},
        {"line down", SCROLL_LINEDOWN, 0, 5, 1000, 6},
        {"line down at the end", SCROLL_LINEDOWN, 0, 1000, 1000, 1000},
        {"line down in a short file", SCROLL_LINEDOWN, 0, 0, -20, 0},
        {"line up", SCROLL_LINEUP, 0, 5, 1000, 4},
        {"line up at the top", SCROLL_LINEUP, 0, 0, 1000, 0},
        {"page down", SCROLL_PAGEDOWN, 0, 100, 1000, 129},
        {"page down near the end", SCROLL_PAGEDOWN, 0, 990, 1000, 1000},
        {"page down in a short file", SCROLL_PAGEDOWN, 0, 0, -20, 0},
        // Go to f4200 in a file of one million bytes: topRow past topRowMax.
        {"page down after a jump near the end", SCROLL_PAGEDOWN, 0, 0xf420, 62474, 62474},
        {"page up", SCROLL_PAGEUP, 0, 129, 1000, 100},
        {"page up near the top", SCROLL_PAGEUP, 0, 10, 1000, 0},
        {"thumb", SCROLL_THUMBPOSITION, 300, 0, 1000, 300},
        {"thumb past the end", SCROLL_THUMBPOSITION, 2000, 0, 1000, 1000},
        {"thumb in a short file", SCROLL_THUMBPOSITION, 1, 0, -20, 0},
        {"thumb track", SCROLL_THUMBTRACK, 300, 7, 1000, 7},
        {"end scroll", SCROLL_ENDSCROLL, 0, 7, 1000, 7},
        {"unknown request", 42, 0, 7, 1000, 7},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, scrolledRow(c.request, c.thumb, c.topRow, c.topRowMax, 30, 1)) << c.what;
    // The page moves by visibleRows - 1 rows in both directions.
    EXPECT_EQ(29, scrolledRow(SCROLL_PAGEDOWN, 0, 0, 1000, 30, 1));
    EXPECT_EQ(0, scrolledRow(SCROLL_PAGEUP, 0, 29, 1000, 30, 1));
    // Near the last row of a 2 GiB - 1 file nothing overflows.
    VerticalRange big = verticalRange(0x7FFFFFFF, 30 * 16, 16);
    EXPECT_EQ(big.topRowMax, scrolledRow(SCROLL_PAGEDOWN, 0, big.topRowMax - 3, big.topRowMax, 30,
                                         big.vScrollScale));
    EXPECT_EQ(big.topRowMax, scrolledRow(SCROLL_THUMBPOSITION, 65535, 0, big.topRowMax, 30,
                                         big.vScrollScale));
}

TEST(ScrolledColumn, EveryHorizontalRequest)
{
    struct Case {
        const char *what;
        int request, thumb;
        int32_t pos, max, expected;
    } cases[] = {
        {"left", SCROLL_TOP, 0, 12, 40, 0},
        {"right", SCROLL_BOTTOM, 0, 12, 40, 40},
        {"line right", SCROLL_LINEDOWN, 0, 12, 40, 13},
        {"line right at the end", SCROLL_LINEDOWN, 0, 40, 40, 40},
        {"line left", SCROLL_LINEUP, 0, 12, 40, 11},
        {"line left at the start", SCROLL_LINEUP, 0, 0, 40, 0},
        {"page right", SCROLL_PAGEDOWN, 0, 12, 40, 22},
        {"page right near the end", SCROLL_PAGEDOWN, 0, 35, 40, 40},
        {"page left", SCROLL_PAGEUP, 0, 22, 40, 12},
        {"page left near the start", SCROLL_PAGEUP, 0, 5, 40, 0},
        {"thumb", SCROLL_THUMBPOSITION, 17, 12, 40, 17},
        {"thumb track", SCROLL_THUMBTRACK, 17, 12, 40, 12},
        {"end scroll", SCROLL_ENDSCROLL, 0, 12, 40, 12},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, scrolledColumn(c.request, c.thumb, c.pos, c.max)) << c.what;
}

TEST(ViewEdges, OffsetsLeavingTheViewAndTheEndOffset)
{
    // Rows 10 to 38 (29 data rows of a 30-line view) are shown.
    EXPECT_TRUE(offsetOutsideView(159, 10, 30));
    EXPECT_FALSE(offsetOutsideView(160, 10, 30));
    EXPECT_FALSE(offsetOutsideView(160 + 16 * 29 - 1, 10, 30));
    EXPECT_TRUE(offsetOutsideView(160 + 16 * 29, 10, 30));
    int32_t lastRow = 0x7FFFFFFF / 16;
    EXPECT_FALSE(offsetOutsideView(0x7FFFFFFE, lastRow - 3, 30));
    EXPECT_TRUE(offsetOutsideView(0, lastRow - 3, 30));

    // Eleven columns do not show in ten, wherever the view is scrolled.
    EXPECT_EQ(-1, columnShowing(60, 11, 5, 49, 10));

    EXPECT_EQ(160 + 16 * 30, viewEndOffset(160, 30));
    EXPECT_EQ(0x7FFFFFFF, viewEndOffset(0x7FFFFF00, 75));
}

}  // namespace
