// Numbers of the Go to offset, Edit value and View Format dialogs.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/numbers.h"
#include "hexview/rowtext.h"

namespace {

struct OffsetCase {
    const char *text;
    int32_t radix;
    uint32_t value;
};

TEST(Numbers, OffsetTextReadsAsTheLibraryConversionsDo)
{
    const OffsetCase cases[] = {
        {"1f0", RADIX_HEX, 0x1f0},       {"1F0", RADIX_HEX, 0x1f0},
        {"0x1f0", RADIX_HEX, 0x1f0},     {"  ff", RADIX_HEX, 0xff},
        {"1g", RADIX_HEX, 1},            {"xyz", RADIX_HEX, 0},
        {"", RADIX_HEX, 0},              {"ffffffff", RADIX_HEX, 0xffffffff},
        {"123456789abc", RADIX_HEX, 0xffffffff},
        {"100", RADIX_DEC, 100},         {"12a", RADIX_DEC, 12},
        {"0x10", RADIX_DEC, 0},          {"4294967295", RADIX_DEC, 0xffffffff},
        {"99999999999999999999999", RADIX_DEC, 0xffffffff},
        {"-1", RADIX_DEC, 0xffffffff},   {"-0", RADIX_DEC, 0},
        {"144", RADIX_OCT, 100},         {"78", RADIX_OCT, 7},
        {"9", RADIX_OCT, 0},             {"17", 7, 0},
    };
    for (const OffsetCase &c : cases)
        EXPECT_EQ(c.value, parseOffsetNumber(c.text, c.radix)) << c.text << " radix " << c.radix;
}

TEST(Numbers, OffsetConvertsBetweenRadixes)
{
    char text[20];
    uint32_t v = parseOffsetNumber("100", RADIX_DEC);
    formatOffsetNumber(text, sizeof text, v, RADIX_HEX);
    EXPECT_STREQ("64", text);
    formatOffsetNumber(text, sizeof text, parseOffsetNumber(text, RADIX_HEX), RADIX_OCT);
    EXPECT_STREQ("144", text);
    formatOffsetNumber(text, sizeof text, 0xABCDEF01u, RADIX_HEX);
    EXPECT_STREQ("abcdef01", text);
    formatOffsetNumber(text, sizeof text, 0xffffffffu, RADIX_OCT);
    EXPECT_STREQ("37777777777", text);
    formatOffsetNumber(text, 4, 0xffffffffu, RADIX_DEC);   // cut, never overrun
    EXPECT_STREQ("429", text);
}

TEST(Numbers, JumpTargetComparesUnsigned)
{
    EXPECT_EQ(499, goToTarget(0xffffffffu, 500));
    EXPECT_EQ(499, goToTarget(500, 500));
    EXPECT_EQ(499, goToTarget(499, 500));
    EXPECT_EQ(499, goToTarget(0x80000000u, 500));
    EXPECT_EQ(0, goToTarget(0, 500));
    EXPECT_EQ(0, goToTarget(7, 1));
}

struct ValueCase {
    const char *text;
    uint8_t format;         // hexValues 0x01, size 0x02/0x04, signed 0x08
    bool accepted;
    uint32_t value;
};

int32_t bytesOf(uint8_t format) { return (format & 0x04) ? 4 : (format & 0x02) ? 2 : 1; }

TEST(Numbers, UnitValueRangesPerFormat)
{
    const ValueCase cases[] = {
        // hexadecimal
        {"ff", 0x01, true, 0xff},           {"100", 0x01, false, 0},
        {"0x7f", 0x01, true, 0x7f},         {"ffff", 0x03, true, 0xffff},
        {"10000", 0x03, false, 0},          {"ffffffff", 0x05, true, 0xffffffff},
        {"100000000", 0x05, false, 0},      {"-1", 0x05, true, 0xffffffff},
        {"-ffffffff", 0x05, true, 1},       {"-1", 0x03, false, 0},
        {"-0", 0x01, true, 0},              {"-100000000", 0x05, false, 0},
        {"12zz", 0x03, true, 0x12},         {"zz", 0x01, false, 0},
        // signed decimal
        {"-128", 0x08, true, 0x80},         {"127", 0x08, true, 0x7f},
        {"-129", 0x08, false, 0},           {"128", 0x08, false, 0},
        {"0x7f", 0x08, true, 127},          {"010", 0x08, true, 8},
        {"-32768", 0x0A, true, 0x8000},     {"-32769", 0x0A, false, 0},
        {"32767", 0x0A, true, 0x7fff},      {"32768", 0x0A, false, 0},
        {"-2147483648", 0x0C, true, 0x80000000}, {"2147483647", 0x0C, true, 0x7fffffff},
        {"2147483648", 0x0C, false, 0},     {"-2147483649", 0x0C, false, 0},
        {"0xffffffff", 0x0C, false, 0},     {"-1", 0x0C, true, 0xffffffff},
        // unsigned decimal
        {"255", 0x00, true, 255},           {"256", 0x00, false, 0},
        {"65535", 0x02, true, 0xffff},      {"65536", 0x02, false, 0},
        {"4294967295", 0x04, true, 0xffffffff}, {"4294967296", 0x04, false, 0},
        {"99999999999999999999999", 0x04, false, 0},
        {"-1", 0x00, false, 0},             {"-0", 0x00, true, 0},
        {"-1", 0x04, true, 0xffffffff},     {"-4294967295", 0x04, true, 1},
        {"-65535", 0x02, false, 0},
        {"  42 and more", 0x00, true, 42},
        // nothing to read
        {"", 0x00, false, 0},               {"", 0x01, false, 0},
        {"   ", 0x08, false, 0},            {"-", 0x08, false, 0},
    };
    for (const ValueCase &c : cases) {
        uint32_t value = 0xDEADBEEF;
        bool ok = parseUnitValue(c.text, c.format & 0x01, c.format & 0x08, bytesOf(c.format), &value);
        EXPECT_EQ(c.accepted, ok) << '"' << c.text << "\" format " << int(c.format);
        if (ok && c.accepted) {
            EXPECT_EQ(c.value, value) << c.text;
        }
        if (!ok) {
            EXPECT_EQ(0xDEADBEEFu, value) << "refused value still written: " << c.text;
        }
    }
}

TEST(Numbers, UnitWriteNeverPassesTheEndOfTheFile)
{
    struct Case {
        int32_t offset, fileSize, unitBytes;
        int32_t written;
        const char *expect;     // the 6-byte area after the write, 'e' = untouched
    };
    const Case cases[] = {
        {0, 100, 4, 4, "\x04\x03\x02\x01" "ee"},
        {0, 100, 2, 2, "\x04\x03" "eeee"},
        {0, 100, 1, 1, "\x04" "eeeee"},
        {0, 3, 4, 3, "\x04\x03\x02" "eee"},          // 32-bit unit, last byte past the end
        {0, 2, 2, 2, "\x04\x03" "eeee"},             // 16-bit unit, the file's last two bytes
        {0, 1, 2, 1, "\x04" "eeeee"},                // 16-bit unit, one byte in the file
        {0, 1, 4, 1, "\x04" "eeeee"},
    };
    for (const Case &c : cases) {
        unsigned char area[6];
        memset(area, 'e', sizeof area);
        int8_t missing = missingBytes(c.offset, c.fileSize);
        EXPECT_EQ(c.written, storeUnitValue(area, 0x01020304, c.unitBytes, missing));
        EXPECT_EQ(std::string(c.expect, 6), std::string((char *)area, 6))
            << "file " << c.fileSize << " unit " << c.unitBytes;
    }
}

TEST(Numbers, TypeTextAndCaption)
{
    const struct {
        uint8_t format;
        const char *text;
    } types[] = {
        {0x01, "Hexadecimal (8 bits)"},      {0x03, "Hexadecimal (16 bits)"},
        {0x0D, "Hexadecimal (32 bits)"},     {0x08, "Signed Decimal (8 bits)"},
        {0x0A, "Signed Decimal (16 bits)"},  {0x0C, "Signed Decimal (32 bits)"},
        {0x30, "Unsigned Decimal (8 bits)"}, {0x02, "Unsigned Decimal (16 bits)"},
        {0x04, "Unsigned Decimal (32 bits)"},
    };
    char text[64];
    for (const auto &t : types) {
        unitTypeText(text, sizeof text, t.format);
        EXPECT_STREQ(t.text, text);
    }

    const struct {
        bool hex;
        int32_t offset, unitBytes, fileSize;
        const char *caption;
    } captions[] = {
        {true, 0x1f, 1, 100, "Offset (HEX): 1f"},
        {false, 31, 1, 100, "Offset (DEC): 31"},
        {true, 0x10, 4, 100, "Offset (HEX): 10 - 13"},
        {false, 96, 4, 99, "Offset (DEC): 96 - 98"},
        {true, 0x62, 2, 100, "Offset (HEX): 62 - 63"},
        {true, 0x62, 2, 99, "Offset (HEX): 62 - 62"},
        // The end of a unit past the signed 32-bit range, in a 2 GiB - 1 file.
        {true, 0x7ffffffe, 4, 0x7fffffff, "Offset (HEX): 7ffffffe - 7ffffffe"},
    };
    for (const auto &c : captions) {
        editValueCaption(text, sizeof text, c.hex, c.offset, c.unitBytes, c.fileSize);
        EXPECT_STREQ(c.caption, text);
    }
}

TEST(Numbers, FormatByteFromChecksAndRealignment)
{
    EXPECT_EQ(0x11, formatFromChecks(true, false, false, false, true, false));
    EXPECT_EQ(0x3F - 0x02, formatFromChecks(true, false, true, true, true, true));
    EXPECT_EQ(0x09, formatFromChecks(true, false, false, true, false, false));  // signed kept under hex
    EXPECT_EQ(0x02, formatFromChecks(false, true, false, false, false, false));
    EXPECT_EQ(0x10, alignToUnit(0x13, 4));
    EXPECT_EQ(0x12, alignToUnit(0x13, 2));
    EXPECT_EQ(0x13, alignToUnit(0x13, 1));
}

}  // namespace
