#include "hexview/hittest.h"

HitTarget hitTest(const RowLayout &layout, int32_t column, int32_t row, int32_t topRow,
                  int32_t fileSize, bool swapText)
{
    HitTarget hit = {HIT_NOTHING, 0, 0};
    // In 64 bits: near the end of a 2 GiB file a row below the last one
    // lies past the signed 32-bit range.
    int64_t rowStart = 16 * (int64_t)topRow + 16 * (int64_t)row;

    if (column < layout.offsetChars) {
        hit.kind = HIT_OFFSET;
        if (row >= 0 && rowStart >= 0 && rowStart < fileSize) hit.offset = (int32_t)rowStart;
        return hit;
    }
    if (column == layout.offsetChars || layout.unitsPerRow <= 0) return hit;

    int32_t width = layout.unitChars + 1;
    int32_t v = column - layout.offsetChars - 1;
    int32_t unit = v / width;
    int32_t k = v % width;
    if (unit < layout.unitsPerRow) {
        if (k == 0 || row < 0) return hit;
        int64_t o = rowStart + (int64_t)unit * (16 / layout.unitsPerRow);
        if (o < 0 || o >= fileSize) return hit;
        hit.kind = HIT_VALUE;
        hit.offset = (int32_t)o;
        hit.nibble = k == 1 ? 0 : 1;
        return hit;
    }

    int32_t p = column - lineStartOf(layout) - 3;
    if (p < 0 || p > 15 || row < 0) return hit;
    int64_t o = rowStart + swapPosition(p, swapText ? VF_SWAP_TEXT : 0);
    if (o < 0 || o >= fileSize) return hit;
    hit.kind = HIT_TEXT;
    hit.offset = (int32_t)o;
    return hit;
}

int32_t nextTypedOffset(int32_t offset, bool swappedOrder)
{
    int64_t next = !swappedOrder ? (int64_t)offset + 1 : offset % 2 == 0 ? (int64_t)offset + 3 : offset - 1;
    // Past the largest signed 32-bit offset there is no byte to go to.
    return next > 0x7FFFFFFF ? -1 : (int32_t)next;
}

int32_t rowFollowingCaret(int32_t caretOffset, int32_t topRow, int32_t topRowMax,
                          int32_t visibleRows)
{
    // A view of fewer than two lines shows no whole row to follow the caret
    // onto: moving it would only take the shown row away from the user.
    if (visibleRows < 2) return topRow;
    int64_t firstHidden = 16 * (int64_t)topRow + 16 * ((int64_t)visibleRows - 1);
    if (caretOffset >= firstHidden && topRow < topRowMax) return topRow + 1;
    return topRow;
}

int hexDigitValue(int c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

uint8_t replaceNibble(uint8_t byte, int nibble, int value)
{
    if (nibble == 0) return (uint8_t)((byte & 0x0F) | ((value & 0x0F) << 4));
    return (uint8_t)((byte & 0xF0) | (value & 0x0F));
}

int32_t editStartOffset(int32_t firstByte, int32_t topOffset, int32_t fileSize)
{
    if (fileSize <= 0) return -1;
    if (firstByte >= 0 && firstByte < fileSize) return firstByte;
    if (topOffset >= 0 && topOffset < fileSize) return topOffset;
    return fileSize - 1;
}
