// Building the search pattern: hexadecimal text both ways, the hex field's
// tidying with its caret, the text field's update, and the numbers of
// "&Add value", with their limits.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "search/pattern.h"

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes parse(const char *text, int32_t capacity = MAX_PATTERN_BYTES)
{
    unsigned char out[MAX_PATTERN_BYTES + 1];
    int32_t n = parseHexText(out, capacity, text);
    return Bytes(out, out + n);
}

std::string hexOf(const Bytes &b)
{
    char out[PATTERN_HEX_CHARS];
    bytesToHexText(out, sizeof out, b.data(), (int32_t)b.size());
    return out;
}

TEST(Pattern, HexTextBothWays)
{
    EXPECT_EQ((Bytes{0x01, 0xAB, 0x23}), parse("1 ab 123"));
    EXPECT_EQ((Bytes{0x41, 0x0A}), parse("41 0a "));
    EXPECT_EQ((Bytes{0xFE, 0x12}), parse("--FE..12zz"));
    EXPECT_EQ(Bytes{}, parse("  xyz "));
    EXPECT_EQ((Bytes{1, 2}), parse("1 2 3 4", 2));
    EXPECT_EQ("41 0a ", hexOf({0x41, 0x0A}));
    EXPECT_EQ("", hexOf({}));

    // A pattern of the largest size fills the hex text exactly.
    Bytes full(MAX_PATTERN_BYTES, 0xC3);
    std::string text = hexOf(full);
    EXPECT_EQ(3u * MAX_PATTERN_BYTES, text.size());
    EXPECT_EQ(full, parse(text.c_str()));
    // A short buffer takes whole groups only.
    char small[8];
    EXPECT_EQ(6, bytesToHexText(small, sizeof small, full.data(), (int32_t)full.size()));
    EXPECT_STREQ("c3 c3 ", small);
}

TEST(Pattern, TextFormShowsZeroAndTabAsMiddleDots)
{
    const unsigned char bytes[] = {0x00, 0x09, 'A', 0xB7, 0x0A};
    char out[PATTERN_TEXT_CHARS];
    EXPECT_EQ(5, patternToText(out, sizeof out, bytes, 5));
    EXPECT_EQ(std::string("\xb7\xb7" "A\xb7\n"), out);
}

TEST(Pattern, HexFieldIsTidiedAsTyped)
{
    struct Case {
        const char *input;
        int32_t caret;
        const char *tidied;
        int32_t newCaret;
    } cases[] = {
        {"4", 1, "4", 1},
        {"41", 2, "41", 2},
        {"416", 3, "41 6", 4},
        {"41 62", 5, "41 62", 5},
        {"123", 3, "12 3", 4},
        {"1 ", 2, "1 ", 2},
        {" 1", 2, "1", 1},
        {"1  2", 3, "1 2", 2},
        {"4g1", 2, "41", 1},          // a stray character goes, the caret stays after 4
        {"41 x62", 4, "41 62", 3},
        {"aBcD", 4, "aB cD", 5},       // case kept as typed
        {"12345", 1, "12 34 5", 1},
        {"", 0, "", 0},
    };
    for (const Case &c : cases) {
        char out[PATTERN_HEX_CHARS];
        int32_t caret = -1;
        int32_t n = normalizeHexText(c.input, c.caret, out, sizeof out, &caret);
        EXPECT_STREQ(c.tidied, out) << c.input;
        EXPECT_EQ((int32_t)strlen(c.tidied), n) << c.input;
        EXPECT_EQ(c.newCaret, caret) << c.input;
    }
}

TEST(Pattern, HexFieldKeepsAtMostTheLargestPattern)
{
    // 300 one-digit groups: only the first 255 are kept.
    std::string input;
    for (int i = 0; i < 300; ++i) input += "7 ";
    char out[PATTERN_HEX_CHARS];
    int32_t caret;
    normalizeHexText(input.c_str(), (int32_t)input.size(), out, sizeof out, &caret);
    EXPECT_EQ(MAX_PATTERN_BYTES, (int32_t)parse(out).size());
    EXPECT_LE((int32_t)strlen(out), 2 * MAX_PATTERN_BYTES);
    // Three digits at a time into a full field never run past the buffer.
    std::string digits(2000, 'f');
    int32_t n = normalizeHexText(digits.c_str(), 2000, out, sizeof out, &caret);
    EXPECT_EQ(3 * MAX_PATTERN_BYTES - 1, n);
    EXPECT_EQ(MAX_PATTERN_BYTES, (int32_t)parse(out).size());
    char tiny[5];
    normalizeHexText("123456", 6, tiny, sizeof tiny, &caret);
    EXPECT_STREQ("12 3", tiny);
}

// The text field's update, as a sequence of user edits from a starting
// pattern: the field's new text and its caret after each edit.
TEST(Pattern, TextFieldUpdateKeepsMiddleDotBytes)
{
    struct Case {
        Bytes before;
        const char *field;
        int32_t caret;
        Bytes after;
    } cases[] = {
        {{'A', 'b'}, "xAb", 1, {'x', 'A', 'b'}},                  // typed before Ab
        {{0x00, 0x09, 'A'}, "\xb7\xb7", 2, {0x00, 0x09}},          // A deleted
        {{0x00, 0x09, 'A'}, "\xb7" "A", 1, {0x00, 'A'}},           // the tab deleted
        {{0x00, 0x09}, "\xb7\xb7\xb7", 1, {0xB7, 0x00, 0x09}},     // a middle dot typed first
        {{0x00, 0x09}, "\xb7\xb7\xb7", 3, {0x00, 0x09, 0xB7}},     // ... or last
        {{0x00, 'a', 'b', 0x09}, "\xb7XY\xb7", 3, {0x00, 'X', 'Y', 0x09}},  // selection replaced
        {{0x00, 'a', 'b', 0x09}, "\xb7Z\xb7", 2, {0x00, 'Z', 0x09}},
        {{'a', 'b'}, "", 0, {}},
        {{}, "hello", 5, {'h', 'e', 'l', 'l', 'o'}},               // pasted
        {{0x00, 'a'}, "\xb7q", 0, {0x00, 'q'}},                    // caret not at the edit
    };
    for (const Case &c : cases) {
        unsigned char pattern[MAX_PATTERN_BYTES];
        if (!c.before.empty()) memcpy(pattern, c.before.data(), c.before.size());
        int32_t n = updatePatternFromText(pattern, (int32_t)c.before.size(), c.field, c.caret);
        EXPECT_EQ(c.after, Bytes(pattern, pattern + n)) << c.field;
        // The field shows the pattern afterwards.
        char shown[PATTERN_TEXT_CHARS];
        patternToText(shown, sizeof shown, pattern, n);
        EXPECT_STREQ(c.field, shown);
    }
}

TEST(Pattern, TextFieldOfTheLargestSize)
{
    unsigned char pattern[MAX_PATTERN_BYTES];
    std::string field(MAX_PATTERN_BYTES, 'q');
    int32_t n = updatePatternFromText(pattern, 0, field.c_str(), MAX_PATTERN_BYTES);
    EXPECT_EQ(MAX_PATTERN_BYTES, n);
    // A longer text than a pattern can hold is taken up to the limit.
    std::string longer(400, 'r');
    n = updatePatternFromText(pattern, n, longer.c_str(), 400);
    EXPECT_EQ(MAX_PATTERN_BYTES, n);
    EXPECT_EQ('r', pattern[MAX_PATTERN_BYTES - 1]);
}

TEST(Pattern, NumbersToAdd)
{
    const uint8_t HEX = 0x01, S16 = 0x02, S32 = 0x04, SIGNED = 0x08;
    struct Case {
        const char *text;
        uint8_t format;
        Bytes bytes;        // empty: refused
    } cases[] = {
        {"-1", SIGNED, {0xFF}},
        {"127", SIGNED, {0x7F}},
        {"-128", SIGNED, {0x80}},
        {"128", SIGNED, {}},
        {"65536", SIGNED, {}},
        {"0x7f", SIGNED, {0x7F}},              // signed reads 0x... as hexadecimal
        {"010", SIGNED, {0x08}},               // ... and a leading 0 as octal
        {"-32768", SIGNED | S16, {0x00, 0x80}},
        {"32768", SIGNED | S16, {}},
        {"-2147483648", SIGNED | S32, {0x00, 0x00, 0x00, 0x80}},
        {"2147483648", SIGNED | S32, {}},
        {"1", HEX | S32, {0x01, 0x00, 0x00, 0x00}},
        {"ff", HEX, {0xFF}},
        {"100", HEX, {}},
        {"12c", HEX | S16, {0x2C, 0x01}},
        {"ffffffff", HEX | S32, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"100000000", HEX | S32, {}},
        {"-1", HEX | S32, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"ff", HEX | SIGNED, {0xFF}},           // hexadecimal wins over signed
        {"255", 0, {0xFF}},
        {"256", 0, {}},
        {"-1", 0, {}},
        {"-0", 0, {0x00}},                     // minus zero is zero
        {"-0", HEX | S16, {0x00, 0x00}},
        {"-1", S32, {0xFF, 0xFF, 0xFF, 0xFF}},  // negated modulo 2^32
        {"300", S16, {0x2C, 0x01}},
        {"65536", S16, {}},
        {"4294967295", S32, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"4294967296", S32, {}},
        {"", 0, {}},
        {"x", SIGNED, {}},
        {"zz", HEX, {}},
    };
    for (const Case &c : cases) {
        unsigned char bytes[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        int32_t count = 0;
        bool ok = convertNumber(c.text, c.format, bytes, &count);
        EXPECT_EQ(!c.bytes.empty(), ok) << c.text << " format " << (int)c.format;
        if (ok) {
            EXPECT_EQ(c.bytes, Bytes(bytes, bytes + count)) << c.text;
        }
    }
}

TEST(Pattern, NumberFieldLimits)
{
    struct Case {
        uint8_t format;
        int32_t limit;
    } cases[] = {{0x01, 2}, {0x03, 4}, {0x05, 8}, {0x00, 3}, {0x02, 5}, {0x04, 10},
                 {0x08, 4}, {0x0A, 6}, {0x0C, 11}, {0x09, 2}, {0x1D, 8}};
    for (const Case &c : cases) EXPECT_EQ(c.limit, numberFieldLimit(c.format)) << (int)c.format;
}

TEST(Pattern, AddingBytesToTheHexText)
{
    char out[PATTERN_HEX_CHARS];
    const unsigned char value[] = {0x2C, 0x01};
    EXPECT_EQ(9, appendBytesToHex(out, sizeof out, "41 ", value, 2));
    EXPECT_STREQ("41 2c 01 ", out);
    EXPECT_EQ(9, appendBytesToHex(out, sizeof out, "41", value, 2));
    EXPECT_STREQ("41 2c 01 ", out);
    EXPECT_EQ(6, appendBytesToHex(out, sizeof out, "", value, 2));
    EXPECT_STREQ("2c 01 ", out);

    // A field that holds 254 bytes takes one more byte, but not two.
    std::string full;
    for (int i = 0; i < MAX_PATTERN_BYTES - 1; ++i) full += "ab ";
    strcpy(out, "unchanged");
    EXPECT_EQ(-1, appendBytesToHex(out, sizeof out, full.c_str(), value, 2));
    EXPECT_STREQ("unchanged", out);
    EXPECT_EQ(3 * MAX_PATTERN_BYTES, appendBytesToHex(out, sizeof out, full.c_str(), value, 1));
    EXPECT_EQ(MAX_PATTERN_BYTES, (int32_t)parse(out).size());
    // Too small a buffer is refused, never overrun.
    char small[6];
    EXPECT_EQ(-1, appendBytesToHex(small, sizeof small, "41", value, 2));
}

}  // namespace
