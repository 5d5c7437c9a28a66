// The arithmetic of the hex view's scroll bars: the ranges that follow from
// the file size and the client area, and the new position after a scroll
// request. No window is needed here.
#ifndef QUILLON_SCROLLMATH_H
#define QUILLON_SCROLLMATH_H

#include <stdint.h>

// Scroll request codes, with the values the scroll bar messages carry.
enum {
    SCROLL_LINEUP = 0,          // also line left
    SCROLL_LINEDOWN = 1,        // also line right
    SCROLL_PAGEUP = 2,          // also page left
    SCROLL_PAGEDOWN = 3,        // also page right
    SCROLL_THUMBPOSITION = 4,
    SCROLL_THUMBTRACK = 5,
    SCROLL_TOP = 6,             // also leftmost
    SCROLL_BOTTOM = 7,          // also rightmost
    SCROLL_ENDSCROLL = 8
};

struct VerticalRange {
    int32_t topRowMax;          // largest first row; 0 or less for a short file
    int32_t vScrollScale;       // rows per unit of the scroll bar
    int32_t vScrollMax;         // maximum of the scroll range, at least 1
};

// From the file size and the client height in pixels, with cells charHeight
// pixels high (not 0).
VerticalRange verticalRange(int32_t fileSize, int32_t clientHeight, int32_t charHeight);

// Largest first column: rowChars - clientWidth / charWidth + 3, or 0 when
// the row fits (charWidth not 0).
int32_t horizontalMax(int32_t rowChars, int32_t clientWidth, int32_t charWidth);

// First displayed row after a vertical request (thumb: the thumb position).
int32_t scrolledRow(int request, int32_t thumb, int32_t topRow, int32_t topRowMax,
                    int32_t visibleRows, int32_t vScrollScale);

// First displayed column after a horizontal request.
int32_t scrolledColumn(int request, int32_t thumb, int32_t hScrollPos, int32_t hScrollMax);

// The first displayed column once columns first to first + count - 1 are
// all shown in a view of `columns` whole columns: hScrollPos moved as
// little as that needs, within 0 to hScrollMax; -1 when the view is too
// narrow to show them all.
int32_t columnShowing(int32_t first, int32_t count, int32_t hScrollPos, int32_t hScrollMax,
                      int32_t columns);

// True when offset lies outside the rows that a view of visibleRows text
// lines (the header included) shows from topRow on.
bool offsetOutsideView(int32_t offset, int32_t topRow, int32_t visibleRows);

// The offset just past the last displayed row, kept within 32 bits.
int32_t viewEndOffset(int32_t topOffset, int32_t visibleRows);

#endif
