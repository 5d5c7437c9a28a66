#include "hexview/scrollmath.h"

VerticalRange verticalRange(int32_t fileSize, int32_t clientHeight, int32_t charHeight)
{
    VerticalRange r;
    int32_t pageRows = clientHeight / charHeight - 2;
    int64_t topRowMax = (int64_t)(fileSize / 16) - pageRows + 2;
    // A view of fewer than about three lines would scroll past the file's
    // last row and show nothing: the first row stops on the last row. (Its
    // offset also fits 32 bits, however low the view.)
    int32_t lastRow = fileSize > 0 ? (fileSize - 1) / 16 : 0;
    if (topRowMax > lastRow) topRowMax = lastRow;
    r.topRowMax = (int32_t)topRowMax;
    if (r.topRowMax <= 32767) {
        r.vScrollScale = 1;
        r.vScrollMax = r.topRowMax;
    } else {
        r.vScrollScale = r.topRowMax / 32768 + 1;
        r.vScrollMax = fileSize / (16 * r.vScrollScale) + 1;
    }
    if (r.vScrollMax <= 0) r.vScrollMax = 1;
    return r;
}

int32_t horizontalMax(int32_t rowChars, int32_t clientWidth, int32_t charWidth)
{
    int32_t max = rowChars - clientWidth / charWidth + 3;
    return max <= 0 ? 0 : max;
}

int32_t scrolledRow(int request, int32_t thumb, int32_t topRow, int32_t topRowMax,
                    int32_t visibleRows, int32_t vScrollScale)
{
    int64_t row = topRow;
    switch (request) {
    case SCROLL_TOP:
        row = 0;
        break;
    case SCROLL_BOTTOM:
        row = topRowMax;
        break;
    case SCROLL_LINEDOWN:
        if (topRow < topRowMax) row = topRow + 1;
        break;
    case SCROLL_LINEUP:
        if (topRow > 0) row = topRow - 1;
        break;
    // A view lower than the status bar's band shows no rows (visibleRows 1
    // or less): a page request leaves it where it is. A view with rows
    // ends at most on topRowMax, also when a jump put topRow past it.
    case SCROLL_PAGEDOWN:
        if (visibleRows <= 1) break;
        row = (int64_t)topRow + visibleRows - 1;
        if (row > topRowMax) row = topRowMax;
        break;
    case SCROLL_PAGEUP:
        if (visibleRows <= 1) break;
        row = (int64_t)topRow - visibleRows + 1;
        if (row < 0) row = 0;
        break;
    case SCROLL_THUMBPOSITION:
        row = (int64_t)thumb * vScrollScale;
        if (row > topRowMax) row = topRowMax;
        break;
    default:
        break;
    }
    if (row < 0) row = 0;
    return (int32_t)row;
}

int32_t scrolledColumn(int request, int32_t thumb, int32_t hScrollPos, int32_t hScrollMax)
{
    int32_t pos = hScrollPos;
    switch (request) {
    case SCROLL_TOP:
        pos = 0;
        break;
    case SCROLL_BOTTOM:
        pos = hScrollMax;
        break;
    case SCROLL_LINEDOWN:
        if (pos < hScrollMax) pos = pos + 1;
        break;
    case SCROLL_LINEUP:
        if (pos > 0) pos = pos - 1;
        break;
    case SCROLL_PAGEDOWN:
        pos = pos + 10;
        if (pos > hScrollMax) pos = hScrollMax;
        break;
    case SCROLL_PAGEUP:
        pos = pos - 10;
        if (pos < 0) pos = 0;
        break;
    case SCROLL_THUMBPOSITION:
        pos = thumb;
        break;
    default:
        break;
    }
    return pos;
}

int32_t columnShowing(int32_t first, int32_t count, int32_t hScrollPos, int32_t hScrollMax,
                      int32_t columns)
{
    if (count > columns) return -1;
    int32_t pos = hScrollPos;
    if (first < pos) pos = first;
    else if (first + count > pos + columns) pos = first + count - columns;
    if (pos < 0 || pos > hScrollMax) return -1;
    return pos;
}

bool offsetOutsideView(int32_t offset, int32_t topRow, int32_t visibleRows)
{
    int64_t t = (int64_t)topRow * 16;
    return offset < t || offset >= t + 16 * ((int64_t)visibleRows - 1);
}

int32_t viewEndOffset(int32_t topOffset, int32_t visibleRows)
{
    int64_t end = (int64_t)topOffset + 16 * (int64_t)visibleRows;
    return end > 0x7FFFFFFF ? 0x7FFFFFFF : (int32_t)end;
}
