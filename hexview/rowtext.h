// The ViewFormat and the text of the hex view's rows: the row layout, the
// text of one unit in every format, the two-digit hexadecimal routine, the
// exchange of byte pairs in the text column, and a whole row composed from
// its bytes. No window is needed here.
#ifndef QUILLON_ROWTEXT_H
#define QUILLON_ROWTEXT_H

#include <stddef.h>
#include <stdint.h>

// Bits of the ViewFormat.
enum {
    VF_HEX_VALUES = 0x01,       // units in hexadecimal, else decimal
    VF_UNIT_SIZE = 0x06,        // the size code, one of the three below
    VF_UNIT_8 = 0x00,
    VF_UNIT_16 = 0x02,
    VF_UNIT_32 = 0x04,
    VF_SIGNED = 0x08,           // decimal units are signed
    VF_HEX_OFFSETS = 0x10,      // offsets in hexadecimal, else decimal
    VF_SWAP_TEXT = 0x20,        // the text column shows each pair exchanged
    VF_DEFAULT = 0x11
};

enum {
    ROW_BYTES = 16,
    ROW_TEXT_MAX = 109,         // the widest row: 8-bit signed, decimal offsets
    UNIT_TEXT_MAX = 11          // the widest unit: 32-bit signed decimal
};

// The editor's modes (the EditorState's editMode): view mode, without a
// caret, and editing with the caret in the values column or in the text
// column.
enum EditMode {
    MODE_VIEW = 0,
    MODE_VALUES = 1,
    MODE_TEXT = 2
};

struct RowLayout {
    int32_t offsetChars;        // offset digits, without the blank after them
    int32_t unitChars;          // characters of one unit's text
    int32_t unitsPerRow;        // 16, 8 or 4
    int32_t rowChars;           // characters of a whole row
};

RowLayout rowLayoutOf(uint8_t viewFormat);

// Bytes of one unit: 1, 2 or 4. The size code 0x06 is never written by the
// program; it is shown as 8-bit units, the widths its layout has.
int32_t unitBytesOf(uint8_t viewFormat);

// Column after the values: offsetChars + (unitChars + 1) * unitsPerRow.
int32_t lineStartOf(const RowLayout &layout);
// First column of unit u's text, and of the blank in front of it.
int32_t unitColumn(const RowLayout &layout, int32_t u);
// Column of display position p (0 to 15) of the text column.
int32_t textColumn(const RowLayout &layout, int32_t p);

// Bytes of the four-byte window at offset that lie at or past the end of
// the file (0 for a unit well inside it, 1 to 3 near the end, 4 at most).
int8_t missingBytes(int32_t offset, int32_t fileSize);

// Two lowercase hexadecimal digits of value, high digit first; no zero.
void byteToHexPair(char *destination, unsigned value);

// The text of one unit: exactly unitChars characters and a terminating
// zero into destination (at least UNIT_TEXT_MAX + 1 bytes). bytes is the
// unit's first byte; byte k (k = 1..3) is read only when it lies in the
// file (missing <= 3 - k), otherwise it counts as 0. Returns the length.
int32_t formatUnit(char *destination, size_t destinationSize, const unsigned char *bytes,
                   int8_t missing, uint8_t viewFormat);

// The swap rule: display position of byte i of a row, and, being its own
// inverse, the byte that display position p shows.
int32_t swapPosition(int32_t i, uint8_t viewFormat);

// Bytes 0x20 to 0x7F show as themselves in the text column, others as a blank.
char textCharOf(unsigned char b);

// Composes the row that starts at rowOffset (a multiple of 16) into line:
// rowChars characters and a terminating zero. rowBytes holds the row's
// bytes that lie in the file (min(16, fileSize - rowOffset) of them; no
// other byte is read); columns of bytes past the end stay blank. Returns
// rowChars, or 0 (line left empty) when lineSize is too small.
int32_t composeRow(char *line, size_t lineSize, const unsigned char *rowBytes, int32_t rowOffset,
                   int32_t fileSize, uint8_t viewFormat);

// A stretch of columns of a composed row drawn in the highlight colours.
struct ColumnRun {
    int32_t first;
    int32_t count;
};
enum { MAX_HIGHLIGHT_RUNS = 32 };

// The highlighted bytes of the row at rowStart: [first, last] byte columns
// shared with [selStart, selStart + selLength); false when there are none.
bool highlightSpan(int32_t rowStart, int32_t selStart, int32_t selLength, int32_t *firstColumn,
                   int32_t *lastColumn);

// The runs of columns that show the highlighted range in the row at
// rowStart: the values (digits of a single byte; blank and digits of each
// byte of a longer range; whole units for 16- and 32-bit units) and the
// text column. The skip flags leave out byte 1 and byte selLength - 2 of
// the range, except in the 16- and 32-bit values. Returns the run count.
int32_t highlightRuns(ColumnRun *runs, int32_t maxRuns, uint8_t viewFormat, int32_t rowStart,
                      int32_t selStart, int32_t selLength, bool skipSecond,
                      bool skipPenultimate);

// Column of the caret for the byte at column c of a row, before the
// horizontal scroll is taken off: under the digit the next key replaces
// (8-bit hexadecimal), under the unit's last character (other formats), or
// on the byte's character (MODE_TEXT).
int32_t caretColumn(uint8_t viewFormat, uint8_t editMode, int32_t c, uint8_t caretNibble);

// The columns that a key typed at the caret changes, for the byte at
// column c of a row: its whole unit in the values column, its character in
// the text column (MODE_TEXT).
ColumnRun caretCell(uint8_t viewFormat, uint8_t editMode, int32_t c);

#endif
