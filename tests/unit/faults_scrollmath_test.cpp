// Findings of the scroll arithmetic's fuzz target, kept as cases.
#include <gtest/gtest.h>

#include "hexview/scrollmath.h"

namespace {

// A main window lower than the status bar's band leaves the view no rows:
// visibleRows is 0 or negative. Page Up then moved down, past the last row
// (and, in the largest file, to a row whose offset passes 32 bits).
TEST(ScrollFaults, PageRequestsInAViewWithoutRows)
{
    struct Case {
        int request;
        int32_t topRow, topRowMax, visibleRows, expected;
    };
    const int32_t lastRow = 0x7FFFFFFF / 16;
    const Case cases[] = {
        {SCROLL_PAGEUP, 0, 4, -20, 0},
        {SCROLL_PAGEUP, 3, 4, -1, 3},
        {SCROLL_PAGEUP, lastRow, lastRow, -1, lastRow},
        {SCROLL_PAGEUP, 10, 20, 0, 10},
        {SCROLL_PAGEDOWN, 10, 20, -5, 10},
        {SCROLL_PAGEDOWN, 10, 20, 0, 10},
        {SCROLL_PAGEUP, 10, 20, 3, 8},          // an ordinary view is unchanged
        {SCROLL_PAGEDOWN, 10, 20, 3, 12},
    };
    for (const Case &c : cases) {
        int32_t row = scrolledRow(c.request, 0, c.topRow, c.topRowMax, c.visibleRows, 1);
        EXPECT_EQ(c.expected, row) << c.request << " from " << c.topRow << " with " << c.visibleRows;
        EXPECT_LE(row, c.topRowMax);
    }
}

}  // namespace
