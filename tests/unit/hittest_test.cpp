// Clicks turned into targets, the typing order of the caret and the digit
// arithmetic of keyboard and mouse editing.
#include <gtest/gtest.h>

#include "hexview/hittest.h"

namespace {

const RowLayout hex8 = rowLayoutOf(0x11);       // default: 8-bit hex units, hex offsets
const RowLayout dec16 = rowLayoutOf(0x12);      // 16-bit unsigned decimal
const RowLayout sdec32Dec = rowLayoutOf(0x0C);  // 32-bit signed decimal, decimal offsets

struct HitCase {
    const char *name;
    RowLayout layout;
    int32_t column, row, topRow, fileSize;
    bool swap;
    HitKind kind;
    int32_t offset;
    int nibble;
};

const HitCase hitCases[] = {
    {"offset column of the first row", hex8, 0, 0, 0, 100, false, HIT_OFFSET, 0, 0},
    {"offset column of the fourth row", hex8, 7, 3, 0, 100, false, HIT_OFFSET, 48, 0},
    {"offset column scrolled", hex8, 3, 2, 10, 1000, false, HIT_OFFSET, 192, 0},
    {"offset column on the header line", hex8, 2, -1, 5, 1000, false, HIT_OFFSET, 0, 0},
    {"offset column past the end", hex8, 2, 7, 0, 100, false, HIT_OFFSET, 0, 0},
    {"blank after the offset", hex8, 8, 0, 0, 100, false, HIT_NOTHING, 0, 0},
    {"blank in front of unit 0", hex8, 9, 0, 0, 100, false, HIT_NOTHING, 0, 0},
    {"first digit of unit 0", hex8, 10, 0, 0, 100, false, HIT_VALUE, 0, 0},
    {"second digit of unit 0", hex8, 11, 0, 0, 100, false, HIT_VALUE, 0, 1},
    {"blank between units", hex8, 12, 1, 0, 100, false, HIT_NOTHING, 0, 0},
    {"second digit of unit 15", hex8, 56, 1, 0, 100, false, HIT_VALUE, 31, 1},
    {"blank before the text", hex8, 57, 0, 0, 100, false, HIT_NOTHING, 0, 0},
    {"second blank before the text", hex8, 58, 0, 0, 100, false, HIT_NOTHING, 0, 0},
    {"first text position", hex8, 59, 2, 0, 100, false, HIT_TEXT, 32, 0},
    {"last text position", hex8, 74, 2, 0, 100, false, HIT_TEXT, 47, 0},
    {"right of the row", hex8, 75, 2, 0, 100, false, HIT_NOTHING, 0, 0},
    {"values on the header line", hex8, 10, -1, 0, 100, false, HIT_NOTHING, 0, 0},
    {"text on the header line", hex8, 60, -1, 0, 100, false, HIT_NOTHING, 0, 0},
    {"swapped text position 0 shows byte 1", hex8, 59, 0, 0, 100, true, HIT_TEXT, 1, 0},
    {"swapped text position 1 shows byte 0", hex8, 60, 0, 0, 100, true, HIT_TEXT, 0, 0},
    {"swapped blank of a 5-byte last row", hex8, 63, 0, 0, 5, true, HIT_NOTHING, 0, 0},
    {"swapped byte 4 of a 5-byte last row", hex8, 64, 0, 0, 5, true, HIT_TEXT, 4, 0},
    {"unit past the end of a partial row", hex8, 22, 1, 0, 20, false, HIT_NOTHING, 0, 0},
    {"last unit of a partial row", hex8, 19, 1, 0, 20, false, HIT_VALUE, 19, 0},
    {"16-bit second unit, first character", dec16, 16, 0, 0, 100, false, HIT_VALUE, 2, 0},
    {"16-bit second unit, last character", dec16, 20, 0, 0, 100, false, HIT_VALUE, 2, 1},
    {"16-bit blank in front of unit 2", dec16, 21, 0, 0, 100, false, HIT_NOTHING, 0, 0},
    {"16-bit text column", dec16, 8 + 48 + 3 + 5, 1, 0, 100, false, HIT_TEXT, 21, 0},
    {"32-bit decimal offsets: offset column", sdec32Dec, 9, 1, 0, 100, false, HIT_OFFSET, 16, 0},
    {"32-bit decimal offsets: blank after it", sdec32Dec, 10, 1, 0, 100, false, HIT_NOTHING, 0, 0},
    {"32-bit unit 3", sdec32Dec, 11 + 36 + 1, 1, 0, 100, false, HIT_VALUE, 28, 0},
    {"32-bit unit starting past the end", sdec32Dec, 11 + 36 + 1, 1, 0, 28, false, HIT_NOTHING, 0, 0},
    {"32-bit text column", sdec32Dec, 10 + 48 + 3 + 15, 0, 0, 100, false, HIT_TEXT, 15, 0},
    {"rows far down a large file", hex8, 10, 3, 134217000, 0x7FFFFFFF, false, HIT_VALUE,
     134217003 * 16, 0},
    {"a row past the 32-bit range", hex8, 10, 9, 134217727, 0x7FFFFFFF, false, HIT_NOTHING, 0, 0},
};

TEST(HitTest, ColumnsRowsAndFormats)
{
    for (const HitCase &c : hitCases) {
        HitTarget hit = hitTest(c.layout, c.column, c.row, c.topRow, c.fileSize, c.swap);
        EXPECT_EQ(c.kind, hit.kind) << c.name;
        if (c.kind != HIT_NOTHING) {
            EXPECT_EQ(c.offset, hit.offset) << c.name;
        }
        if (c.kind == HIT_VALUE) {
            EXPECT_EQ(c.nibble, hit.nibble) << c.name;
        }
    }
}

TEST(TypingOrder, PlainAndSwapped)
{
    EXPECT_EQ(8, nextTypedOffset(7, false));
    EXPECT_EQ(1, nextTypedOffset(0, false));

    // Swapped pairs are typed as shown: 1, 0, 3, 2, ... across rows too.
    int32_t o = 1;
    const int32_t expected[] = {0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14, 17, 16};
    for (int32_t next : expected) {
        o = nextTypedOffset(o, true);
        EXPECT_EQ(next, o);
    }
}

TEST(TypingOrder, ViewFollowsTheCaretOneRowAtATime)
{
    struct { int32_t caret, topRow, topRowMax, visibleRows, expected; } cases[] = {
        {143, 0, 50, 10, 0},    // still on the last fully shown row
        {144, 0, 50, 10, 1},    // onto the partly shown row
        {160, 0, 50, 10, 1},    // one row at a time
        {144, 0, 0, 10, 0},     // the view cannot move further
        {20000, 40, 50, 10, 41},
        {1, 0, 50, 1, 0},       // no whole row shown: the view stays
    };
    for (auto &c : cases)
        EXPECT_EQ(c.expected, rowFollowingCaret(c.caret, c.topRow, c.topRowMax, c.visibleRows))
            << c.caret << " " << c.topRow;
}

TEST(TypingOrder, DigitsAndNibbles)
{
    for (int c = 0; c < 256; ++c) {
        int expected = -1;
        if (c >= '0' && c <= '9') expected = c - '0';
        else if (c >= 'a' && c <= 'f') expected = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') expected = c - 'A' + 10;
        EXPECT_EQ(expected, hexDigitValue(c)) << c;
    }
    EXPECT_EQ(0x4F, replaceNibble(0xFF, 0, 4));
    EXPECT_EQ(0x41, replaceNibble(0x4F, 1, 1));
    EXPECT_EQ(0xA0, replaceNibble(0x00, 0, 10));
    EXPECT_EQ(0x3C, replaceNibble(0x35, 1, 12));
}

TEST(TypingOrder, EditingStartsOnAByteOfTheFile)
{
    struct { int32_t firstByte, topOffset, fileSize, expected; } cases[] = {
        {0, 0, 100, 0},
        {32752, 33000, 40000, 32752},
        {96, 96, 100, 96},          // window starts on the last row
        {112, 112, 100, 99},        // window and view past the end: the last byte
        {112, 48, 100, 48},         // window past the end, view inside the file
        {0, 0, 1, 0},
        {0, 0, 0, -1},
    };
    for (auto &c : cases)
        EXPECT_EQ(c.expected, editStartOffset(c.firstByte, c.topOffset, c.fileSize))
            << c.firstByte << " " << c.topOffset << " " << c.fileSize;
}

}  // namespace
