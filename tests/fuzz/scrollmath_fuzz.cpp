// The scroll arithmetic from any file size, client area and scroll request:
// the first row stays within 0 .. max(topRowMax, 0) and its offset within 32
// bits, and the scroll bar's range fits the 16-bit thumb position.
#include <stdint.h>
#include <stdlib.h>

#include "hexview/scrollmath.h"
#include "tests/support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    int32_t fileSize = take32(data, size) & 0x7FFFFFFF;
    int32_t clientHeight = take32(data, size) & 0xFFFF;             // a window's client height
    int32_t charHeight = (take32(data, size) & 0xFF) + 1;
    int32_t topRow = take32(data, size);
    int32_t thumb = take32(data, size) & 0xFFFF;                    // HIWORD of wParam
    int32_t rowChars = take32(data, size) & 0xFF;
    int32_t clientWidth = take32(data, size) & 0xFFFF;
    int32_t hPos = take32(data, size);

    VerticalRange r = verticalRange(fileSize, clientHeight, charHeight);
    if (r.topRowMax > (fileSize > 0 ? (fileSize - 1) / 16 : 0)) abort();     // the last row shows
    if (r.vScrollScale < 1 || r.vScrollMax < 1 || r.vScrollMax > 0xFFFF) abort();
    // The thumb at the end of its range reaches the last row of the file
    // (the last rows of a view too low for two rows excepted).
    if (r.topRowMax > 0 && (int64_t)r.vScrollMax * r.vScrollScale < (int64_t)r.topRowMax - 4) abort();

    int32_t maxRow = r.topRowMax > 0 ? r.topRowMax : 0;
    topRow = maxRow == 0 ? 0 : (int32_t)((uint32_t)topRow % ((uint32_t)maxRow + 1));
    // The view's text lines: the client height less the status bar's band.
    int32_t visibleRows = (clientHeight - 20) / charHeight;
    for (int request = SCROLL_LINEUP; request <= SCROLL_ENDSCROLL; ++request) {
        int32_t row = scrolledRow(request, thumb, topRow, r.topRowMax, visibleRows, r.vScrollScale);
        if (row < 0 || row > maxRow) abort();
        int32_t top = row * 16;     // the first displayed offset: must not overflow
        int32_t end = viewEndOffset(top, visibleRows);
        if (visibleRows >= 0 && end < top) abort();      // never wraps round
        offsetOutsideView(fileSize, row, visibleRows);
    }

    int32_t hMax = horizontalMax(rowChars, clientWidth, charHeight);
    if (hMax < 0) abort();
    hPos = hMax == 0 ? 0 : (int32_t)((uint32_t)hPos % ((uint32_t)hMax + 1));
    for (int request = SCROLL_LINEUP; request <= SCROLL_ENDSCROLL; ++request) {
        if (request == SCROLL_THUMBPOSITION) continue;      // the bar's range bounds the thumb
        int32_t pos = scrolledColumn(request, thumb, hPos, hMax);
        if (pos < 0 || pos > hMax) abort();
    }
    return 0;
}
