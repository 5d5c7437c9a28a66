// What a click on the hex view lands on, and where the caret goes after a
// typed byte: the arithmetic of keyboard and mouse editing, without windows.
#ifndef QUILLON_HITTEST_H
#define QUILLON_HITTEST_H

#include <stdint.h>

#include "hexview/rowtext.h"

enum HitKind {
    HIT_NOTHING,    // a blank, the header line right of the offsets, past the end
    HIT_OFFSET,     // the offset column: offset is the row's first offset, or 0
    HIT_VALUE,      // a unit of the values column: offset is its first byte
    HIT_TEXT        // a byte of the text column
};

struct HitTarget {
    HitKind kind;
    int32_t offset;
    uint8_t nibble;     // for a unit: 0 on its first character, 1 on any other
};

// column: character column of the click (scroll position included);
// row: displayed row, -1 for the header line; topRow: first displayed row.
HitTarget hitTest(const RowLayout &layout, int32_t column, int32_t row, int32_t topRow,
                  int32_t fileSize, bool swapText);

// The byte that follows offset in typing order. In the text column with
// swapped pairs the bytes are typed as they are shown: 1, 0, 3, 2, 5, 4...
// -1 when it would lie past the largest signed 32-bit offset.
int32_t nextTypedOffset(int32_t offset, bool swappedOrder);

// The first displayed row once the caret has moved to caretOffset: one row
// further when the caret went below the last fully shown row; unchanged in
// a view of fewer than two lines (visibleRows counts the header line).
int32_t rowFollowingCaret(int32_t caretOffset, int32_t topRow, int32_t topRowMax,
                          int32_t visibleRows);

// Value of a hexadecimal digit character, or -1.
int hexDigitValue(int c);

// The byte with one of its halves replaced: nibble 0 is the high half.
uint8_t replaceNibble(uint8_t byte, int nibble, int value);

// Where the caret goes when editing starts: on firstByte (the window's first
// byte) if it lies in the file, else on the first displayed byte, else on the
// file's last byte; -1 for an empty file.
int32_t editStartOffset(int32_t firstByte, int32_t topOffset, int32_t fileSize);

#endif
