// Clicks on the hex view and the caret's moves, from any click position,
// view position, file size and format: a click lands on a byte of the file
// whose text lies under the clicked column, or on nothing, and the caret's
// next offset, the row that follows it and the start of editing stay in
// range without overflow.
#include <stdint.h>
#include <stdlib.h>

#include "hexview/hittest.h"
#include "hexview/rowtext.h"
#include "tests/support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    uint8_t format = data[0];
    ++data;
    --size;
    int32_t fileSize = take32(data, size) & 0x7FFFFFFF;
    const int32_t lastRow = 0x7FFFFFFF / 16;
    int32_t topRow = (int32_t)((uint32_t)take32(data, size) % (lastRow + 1));
    int32_t column = take32(data, size) & 0x1FFFF;             // x / charWidth + hScrollPos
    int32_t row = (take32(data, size) & 0xFFFF) - 1;           // y / charHeight - 1
    int32_t topRowMax = take32(data, size) % (lastRow + 1);
    int32_t visibleRows = take32(data, size) % 5000;
    int32_t firstByte = take32(data, size);

    RowLayout layout = rowLayoutOf(format);
    bool swap = format & 0x20;
    int32_t unitBytes = 16 / layout.unitsPerRow;
    int64_t rowStart = 16 * ((int64_t)topRow + row);

    HitTarget hit = hitTest(layout, column, row, topRow, fileSize, swap);
    switch (hit.kind) {
    case HIT_NOTHING:
        break;
    case HIT_OFFSET:
        if (column >= layout.offsetChars) abort();
        if (hit.offset != 0 && hit.offset != rowStart) abort();
        break;
    case HIT_VALUE: {
        if (hit.offset < 0 || hit.offset >= fileSize || hit.offset - rowStart >= 16) abort();
        int32_t u = (int32_t)(hit.offset - rowStart) / unitBytes;
        if ((hit.offset - rowStart) % unitBytes) abort();
        int32_t first = unitColumn(layout, u);
        if (column < first || column >= first + layout.unitChars) abort();
        if (hit.nibble != (column == first ? 0 : 1)) abort();
        break;
    }
    case HIT_TEXT: {
        int64_t c = hit.offset - rowStart;
        if (hit.offset < 0 || hit.offset >= fileSize || c < 0 || c > 15) abort();
        int32_t p = swap ? (int32_t)(c ^ 1) : (int32_t)c;
        if (textColumn(layout, p) != column) abort();
        break;
    }
    }

    // The caret on any byte of the file, typed over in either order.
    if (fileSize > 0) {
        int32_t caret = (int32_t)((uint32_t)firstByte % (uint32_t)fileSize);
        for (int order = 0; order < 2; ++order) {
            int32_t next = nextTypedOffset(caret, order == 1);
            if (next >= 0 && next < fileSize && (next == caret || next - caret > 3 || caret - next > 1)) abort();
        }
        int32_t followed = rowFollowingCaret(caret, topRow, topRowMax, visibleRows);
        if (followed != topRow && (followed != topRow + 1 || topRow >= topRowMax)) abort();
    }
    int32_t start = editStartOffset(firstByte, (int32_t)(16 * (int64_t)topRow), fileSize);
    if (fileSize > 0 ? start < 0 || start >= fileSize : start != -1) abort();
    return 0;
}
