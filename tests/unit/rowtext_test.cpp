// The text of the hex view's rows: layout of every format, unit texts at
// the ends of their ranges and at the end of the file, whole rows, the
// highlighted columns and the caret's column.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "hexview/rowtext.h"

namespace {

std::string row(const std::vector<unsigned char> &bytes, int32_t offset, int32_t fileSize,
                uint8_t format)
{
    // Exactly the row's bytes in the file, so reading past them is caught.
    std::vector<unsigned char> present(bytes);
    char line[ROW_TEXT_MAX + 1];
    int32_t n = composeRow(line, sizeof line, present.data(), offset, fileSize, format);
    EXPECT_EQ((size_t)n, strlen(line));
    return line;
}

std::string unit(std::vector<unsigned char> bytes, int8_t missing, uint8_t format)
{
    char text[UNIT_TEXT_MAX + 1];
    int32_t n = formatUnit(text, sizeof text, bytes.data(), missing, format);
    EXPECT_EQ((size_t)n, strlen(text));
    return text;
}

struct FormatCase {
    uint8_t format;         // without the offset bit
    int32_t unitChars, unitsPerRow, rowCharsHex, rowCharsDec;
};

const FormatCase formats[] = {
    {0x01, 2, 16, 75, 77},  {0x00, 3, 16, 91, 93},  {0x08, 4, 16, 107, 109},
    {0x03, 4, 8, 67, 69},   {0x02, 5, 8, 75, 77},   {0x0A, 6, 8, 83, 85},
    {0x05, 8, 4, 63, 65},   {0x04, 10, 4, 71, 73},  {0x0C, 11, 4, 75, 77},
};

TEST(RowLayout, EveryFormatAndOffsetRadix)
{
    for (const FormatCase &f : formats) {
        for (int hexOffsets = 0; hexOffsets < 2; ++hexOffsets) {
            uint8_t format = (uint8_t)(f.format | (hexOffsets ? VF_HEX_OFFSETS : 0));
            SCOPED_TRACE(testing::Message() << "format 0x" << std::hex << (int)format);
            RowLayout l = rowLayoutOf(format);
            EXPECT_EQ(hexOffsets ? 8 : 10, l.offsetChars);
            EXPECT_EQ(f.unitChars, l.unitChars);
            EXPECT_EQ(f.unitsPerRow, l.unitsPerRow);
            EXPECT_EQ(hexOffsets ? f.rowCharsHex : f.rowCharsDec, l.rowChars);
            EXPECT_EQ(l.rowChars, lineStartOf(l) + 19);

            // Full rows and every length of a last row come out rowChars long,
            // with blanks where the bytes past the end would be.
            std::vector<unsigned char> bytes(16);
            for (int i = 0; i < 16; ++i) bytes[i] = (unsigned char)(0x80 + 9 * i);
            for (int present = 16; present >= 1; --present) {
                std::vector<unsigned char> part(bytes.begin(), bytes.begin() + present);
                // Rows at the very end of the offset range.
                int32_t offset = present == 16 ? 0x7FFFFFE0 : 0x7FFFFFF0;
                std::string text = row(part, offset, offset + present, format);
                ASSERT_EQ((size_t)l.rowChars, text.size()) << present;
                int32_t unitBytes = 16 / l.unitsPerRow;
                int32_t units = (present + unitBytes - 1) / unitBytes;
                for (int32_t u = units; u < l.unitsPerRow; ++u)
                    EXPECT_EQ(std::string(l.unitChars, ' '), text.substr(unitColumn(l, u), l.unitChars));
                for (int32_t u = 0; u < units; ++u)
                    EXPECT_NE(' ', text[unitColumn(l, u) + l.unitChars - 1]);
            }
        }
    }
}

TEST(RowLayout, OffsetRadixChangesOnlyTheOffsetWidth)
{
    for (const FormatCase &f : formats) {
        RowLayout dec = rowLayoutOf(f.format), hex = rowLayoutOf(f.format | VF_HEX_OFFSETS);
        EXPECT_EQ(dec.offsetChars, hex.offsetChars + 2);
        EXPECT_EQ(dec.rowChars, hex.rowChars + 2);
        EXPECT_EQ(dec.unitChars, hex.unitChars);
        EXPECT_EQ(dec.unitsPerRow, hex.unitsPerRow);
        // Settings that only the swap flag or unused bits differ in lay out alike.
        RowLayout swapped = rowLayoutOf(f.format | VF_SWAP_TEXT);
        EXPECT_EQ(dec.rowChars, swapped.rowChars);
    }
    EXPECT_EQ(75, rowLayoutOf(VF_DEFAULT).rowChars);
}

struct UnitCase {
    uint8_t format;
    std::vector<unsigned char> bytes;
    int8_t missing;
    const char *text;
};

TEST(UnitText, EveryFormatAtTheEndsOfItsRange)
{
    const UnitCase cases[] = {
        {0x01, {0xAB}, 0, "ab"},
        {0x00, {0xAB}, 0, "171"},
        {0x08, {0xAB}, 0, " -85"},
        {0x08, {0x80}, 0, "-128"},
        {0x08, {0x7F}, 0, " 127"},
        {0x00, {0x00}, 0, "  0"},
        {0x03, {0xFF, 0xFF}, 0, "ffff"},
        {0x03, {0x34, 0x12}, 0, "1234"},
        {0x02, {0xFF, 0xFF}, 0, "65535"},
        {0x0A, {0xFF, 0xFF}, 0, "    -1"},
        {0x0A, {0x00, 0x80}, 0, "-32768"},
        {0x05, {0x78, 0x56, 0x34, 0x12}, 0, "12345678"},
        {0x04, {0xFF, 0xFF, 0xFF, 0xFF}, 0, "4294967295"},
        {0x0C, {0x00, 0x00, 0x00, 0x80}, 0, "-2147483648"},
        {0x04, {0x00, 0x00, 0x00, 0x80}, 0, "2147483648"},
        {0x0C, {0xFF, 0xFF, 0xFF, 0x7F}, 0, " 2147483647"},
        // Bytes past the end of the file count as 0 and are never sign bits.
        {0x05, {0x05, 0x01, 0xEE, 0xEE}, 2, "00000105"},
        {0x04, {0x05, 0x01, 0xEE, 0xEE}, 2, "       261"},
        {0x0A, {0xFF, 0xEE}, 3, "   255"},
        {0x0C, {0xFF, 0xFF, 0xFF, 0xEE}, 1, "   16777215"},
        {0x0C, {0x80, 0xEE, 0xEE, 0xEE}, 3, "        128"},
        {0x03, {0x01, 0x02}, 2, "0201"},     // both bytes in the file
        {0x03, {0x01, 0xEE}, 3, "0001"},
        // The size code both size bits make is shown as 8-bit units.
        {0x07, {0x41}, 0, "41"},
    };
    for (const UnitCase &c : cases) {
        SCOPED_TRACE(c.text);
        // Only the bytes that lie in the file are handed over.
        int present = 4 - c.missing;
        std::vector<unsigned char> inFile(c.bytes.begin(),
                                          c.bytes.begin() + std::min<size_t>(present, c.bytes.size()));
        EXPECT_EQ(c.text, unit(inFile, c.missing, c.format));
        EXPECT_EQ(strlen(c.text), (size_t)rowLayoutOf(c.format).unitChars);
    }
}

TEST(UnitText, TooSmallBufferGetsNothing)
{
    unsigned char b[4] = {1, 2, 3, 4};
    char small[8] = "xxxxxxx";
    EXPECT_EQ(0, formatUnit(small, sizeof small, b, 0, 0x0C));
    EXPECT_STREQ("", small);
}

TEST(UnitText, MissingBytesNearTheEnd)
{
    EXPECT_EQ(0, missingBytes(0, 100));
    EXPECT_EQ(0, missingBytes(95, 100));
    EXPECT_EQ(1, missingBytes(97, 100));
    EXPECT_EQ(3, missingBytes(99, 100));
    EXPECT_EQ(4, missingBytes(100, 100));
    // No overflow at the end of a 2 GiB - 1 file.
    EXPECT_EQ(3, missingBytes(0x7FFFFFFE, 0x7FFFFFFF));
    EXPECT_EQ(0, missingBytes(0x7FFFFFF0, 0x7FFFFFFF));
}

TEST(UnitText, HexPairsOfEveryByte)
{
    const char *digits = "0123456789abcdef";
    for (unsigned v = 0; v < 256; ++v) {
        char pair[3] = {'x', 'x', 'x'};
        byteToHexPair(pair, v);
        EXPECT_EQ(digits[v >> 4], pair[0]);
        EXPECT_EQ(digits[v & 15], pair[1]);
        EXPECT_EQ('x', pair[2]);    // no terminating zero
    }
}

TEST(RowText, TwentyLettersInTheDefaultFormat)
{
    std::vector<unsigned char> letters;
    for (char c = 'A'; c <= 'T'; ++c) letters.push_back((unsigned char)c);
    std::vector<unsigned char> first(letters.begin(), letters.begin() + 16);
    std::vector<unsigned char> second(letters.begin() + 16, letters.end());
    EXPECT_EQ("00000000  41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f 50  ABCDEFGHIJKLMNOP",
              row(first, 0, 20, VF_DEFAULT));
    EXPECT_EQ("00000010  51 52 53 54" + std::string(38, ' ') + "QRST" + std::string(12, ' '),
              row(second, 16, 20, VF_DEFAULT));
}

TEST(RowText, DecimalOffsetsAndWideUnits)
{
    // Offset 16 right-aligned in ten characters; the second unit has one byte
    // in the file and shows 1; bytes that are not characters show as blanks.
    std::vector<unsigned char> b = {0x00, 0x00, 0x00, 0x80, 0x01};
    std::string text = row(b, 16, 21, 0x0C);
    EXPECT_EQ("        16  -2147483648           1" + std::string(42, ' '), text);
    EXPECT_EQ("00000010 ", row({0x41}, 16, 17, VF_DEFAULT).substr(0, 9));
    EXPECT_EQ("        16 ", row({0x41}, 16, 17, VF_HEX_VALUES).substr(0, 11));
}

TEST(RowText, SwappedLastRowOfFiveBytes)
{
    std::vector<unsigned char> b = {'a', 'b', 'c', 'd', 'e'};
    std::string text = row(b, 32, 37, VF_DEFAULT | VF_SWAP_TEXT);
    RowLayout l = rowLayoutOf(VF_DEFAULT);
    EXPECT_EQ("badc e" + std::string(10, ' '), text.substr(textColumn(l, 0), 16));
    // The values column is not exchanged.
    EXPECT_EQ("61 62 63 64 65", text.substr(unitColumn(l, 0), 14));
    for (int32_t p = 0; p < 16; ++p)
        EXPECT_EQ(p, swapPosition(swapPosition(p, VF_SWAP_TEXT), VF_SWAP_TEXT));
    EXPECT_EQ(4, swapPosition(5, VF_SWAP_TEXT));
    EXPECT_EQ(5, swapPosition(4, VF_SWAP_TEXT));
    EXPECT_EQ(4, swapPosition(4, VF_DEFAULT));
}

TEST(RowText, OnlyPrintableBytesShowAsCharacters)
{
    for (int base = 0; base < 256; base += 16) {
        std::vector<unsigned char> b(16);
        for (int i = 0; i < 16; ++i) b[i] = (unsigned char)(base + i);
        std::string text = row(b, base, 256, VF_DEFAULT);
        std::string column = text.substr(textColumn(rowLayoutOf(VF_DEFAULT), 0), 16);
        for (int i = 0; i < 16; ++i) {
            int v = base + i;
            char expected = (v >= 0x20 && v <= 0x7F) ? (char)v : ' ';
            EXPECT_EQ(expected, column[i]) << "byte " << v;
        }
    }
}

TEST(RowText, TooSmallLineGetsNothing)
{
    unsigned char b[16] = {0};
    char line[80];
    EXPECT_EQ(0, composeRow(line, sizeof line, b, 0, 16, 0x08));   // needs 110
    EXPECT_STREQ("", line);
    EXPECT_EQ(75, composeRow(line, 76, b, 0, 16, VF_DEFAULT));
}

struct Cols {
    int32_t first, count;
    bool operator==(const Cols &o) const { return first == o.first && count == o.count; }
};

std::vector<Cols> runsOf(uint8_t format, int32_t rowStart, int32_t selStart, int32_t selLength,
                        bool skipSecond = false, bool skipPenultimate = false)
{
    ColumnRun runs[MAX_HIGHLIGHT_RUNS];
    int32_t n = highlightRuns(runs, MAX_HIGHLIGHT_RUNS, format, rowStart, selStart, selLength,
                              skipSecond, skipPenultimate);
    std::vector<Cols> out;
    for (int32_t i = 0; i < n; ++i) out.push_back({runs[i].first, runs[i].count});
    return out;
}

TEST(Highlight, ColumnsOfEachKindOfRange)
{
    struct Case {
        const char *what;
        uint8_t format;
        int32_t rowStart, selStart, selLength;
        bool skipSecond, skipPenultimate;
        std::vector<Cols> runs;
    };
    const Case cases[] = {
        {"one byte: its digits only", VF_DEFAULT, 0, 5, 1, false, false, {{25, 2}, {64, 1}}},
        {"three bytes: blank and digits", VF_DEFAULT, 0, 3, 3, false, false,
         {{18, 3}, {21, 3}, {24, 3}, {62, 1}, {63, 1}, {64, 1}}},
        {"16-bit units 1 and 2, text of bytes 3 and 4", 0x13, 0, 3, 2, false, false,
         {{15, 9}, {54, 1}, {55, 1}}},
        {"32-bit: whole units", 0x15, 16, 16 + 2, 6, false, false,
         {{10, 17}, {49, 1}, {50, 1}, {51, 1}, {52, 1}, {53, 1}, {54, 1}}},
        {"swapped single byte 2", VF_DEFAULT | VF_SWAP_TEXT, 0, 2, 1, false, false,
         {{16, 2}, {62, 1}}},
        {"skips leave out bytes 1 and n-2", VF_DEFAULT, 0, 0, 5, true, true,
         {{9, 3}, {15, 3}, {21, 3}, {59, 1}, {61, 1}, {63, 1}}},
        {"skips ignored in wide values", 0x13, 0, 0, 4, true, true, {{10, 9}, {51, 1}, {54, 1}}},
        {"range from the row before", VF_DEFAULT, 16, 14, 3, false, false, {{9, 3}, {59, 1}}},
        {"range ending in the next row", VF_DEFAULT, 16, 31, 2, false, false, {{54, 3}, {74, 1}}},
        {"nothing highlighted", VF_DEFAULT, 0, 3, 0, false, false, {}},
        {"range in another row", VF_DEFAULT, 32, 0, 32, false, false, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.runs, runsOf(c.format, c.rowStart, c.selStart, c.selLength, c.skipSecond,
                                 c.skipPenultimate))
            << c.what;
    }
}

TEST(Highlight, SpanNearTheEndOfTheOffsetRange)
{
    int32_t first = -1, last = -1;
    EXPECT_TRUE(highlightSpan(0x7FFFFFF0, 0x7FFFFFF5, 10, &first, &last));
    EXPECT_EQ(5, first);
    EXPECT_EQ(14, last);
    EXPECT_FALSE(highlightSpan(0x7FFFFFE0, 0x7FFFFFF0, 15, &first, &last));
    EXPECT_TRUE(highlightSpan(16, 0, 100, &first, &last));
    EXPECT_EQ(0, first);
    EXPECT_EQ(15, last);
}

TEST(Caret, ColumnOfEachMode)
{
    struct Case {
        uint8_t format, editMode;
        int32_t byte;
        uint8_t nibble;
        int32_t column;
    } cases[] = {
        {VF_DEFAULT, 1, 0, 0, 10},  {VF_DEFAULT, 1, 0, 1, 11}, {VF_DEFAULT, 1, 15, 1, 56},
        {0x01, 1, 0, 0, 12},        // decimal offsets are two wider
        {0x10, 1, 2, 0, 20},        // 8-bit unsigned: last of "%3u"
        {0x13, 1, 3, 0, 18},        // 16-bit hexadecimal: byte 3 is in unit 1
        {0x1C, 1, 7, 0, 32},        // 32-bit signed: byte 7 is in unit 1
        {VF_DEFAULT, 2, 4, 0, 63},
        {VF_DEFAULT | VF_SWAP_TEXT, 2, 4, 0, 64},
        {VF_DEFAULT | VF_SWAP_TEXT, 2, 5, 0, 63},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.column, caretColumn(c.format, c.editMode, c.byte, c.nibble))
            << "format " << (int)c.format << " byte " << c.byte;
    EXPECT_EQ(64, caretCell(VF_DEFAULT | VF_SWAP_TEXT, 2, 4).first);
}

}  // namespace
