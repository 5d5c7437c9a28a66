// The title's text, the view's percent and the offset in the status bar.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "shell/title_text.h"

namespace {

// The title, and where it says the name stands: the name (cut only where
// the title is full), for a longer one to be put in its place.
std::string title(const char *path, int32_t size, int32_t percent)
{
    char text[TITLE_CHARS + 1];
    memset(text, 'x', sizeof text);
    size_t start = 99, length = 99;
    int32_t n = composeTitle(text, sizeof text, path, size, percent, &start, &length);
    EXPECT_EQ((size_t)n, strlen(text));
    std::string name = path[0] ? fileTitleOf(path) : "";
    EXPECT_EQ(path[0] ? 13u : 0u, start);
    EXPECT_EQ(name.substr(0, length), std::string(text + start, length));
    EXPECT_TRUE(length == name.size() || n == TITLE_CHARS) << path;
    return text;
}

TEST(Title, Examples)
{
    struct Case {
        const char *path;
        int32_t size, percent;
        const char *text;
    } cases[] = {
        {"", 0, 0, "Quillon 95"},
        {"", 1234, 50, "Quillon 95"},
        {"C:\\DATA\\A.BIN", 1234567, 0, "Quillon 95   A.BIN (1,234,567 bytes)  0 %"},
        {"C:\\x\\b.bin", 999, 48, "Quillon 95   b.bin (999 bytes) 48 %"},
        {"C:\\x\\e.bin", 0, 0, "Quillon 95   e.bin (0 bytes)  0 %"},
        {"C:\\x\\s.bin", 5000, 7, "Quillon 95   s.bin (5,000 bytes)  7 %"},
        {"C:\\x\\f.bin", 30000000, 100, "Quillon 95   f.bin (30,000,000 bytes) 100 %"},
        {"plain.bin", 12, 0, "Quillon 95   plain.bin (12 bytes)  0 %"},
        {"Z:\\dir.d/sub/name", 1, 0, "Quillon 95   dir.d/sub/name (1 bytes)  0 %"},
        {"C:\\dir\\", 1, 0, "Quillon 95    (1 bytes)  0 %"},
    };
    for (const Case &c : cases) EXPECT_EQ(c.text, title(c.path, c.size, c.percent));
}

TEST(Title, OnlyTheBackslashSeparates)
{
    EXPECT_STREQ("sub/name", fileTitleOf("Z:\\dir.d\\sub/name"));
    EXPECT_STREQ("plain", fileTitleOf("plain"));
}

TEST(Title, DigitGrouping)
{
    struct Case {
        int32_t size;
        const char *text;
    } cases[] = {
        {0, "0"},          {7, "7"},           {999, "999"},           {1000, "1,000"},
        {9999, "9,999"},   {12345, "12,345"},  {123456, "123,456"},    {1234567, "1,234,567"},
        {0x7FFFFFFF, "2,147,483,647"},
    };
    for (const Case &c : cases) {
        char text[32];
        EXPECT_EQ((int32_t)strlen(c.text), groupDigits(text, sizeof text, c.size));
        EXPECT_STREQ(c.text, text);
    }
    char small[4];
    groupDigits(small, sizeof small, 1234567);
    EXPECT_STREQ("1,2", small);
}

TEST(Title, VeryLongNamesAreCutAndTheRestStays)
{
    std::string path = "C:\\" + std::string(300, 'n') + ".bin";
    std::string text = title(path.c_str(), 0x7FFFFFFF, 100);
    EXPECT_EQ((size_t)TITLE_CHARS, text.size());
    EXPECT_EQ("Quillon 95   nnn", text.substr(0, 16));
    std::string tail = " (2,147,483,647 bytes) 100 %";
    EXPECT_EQ(tail, text.substr(text.size() - tail.size()));

    // A name that just fits is not cut.
    std::string fits = "C:\\" + std::string(TITLE_CHARS - 13 - 19, 'k');
    EXPECT_EQ("Quillon 95   " + std::string(TITLE_CHARS - 13 - 19, 'k') + " (1 bytes)  0 %",
              title(fits.c_str(), 1, 0));

    // A smaller destination is filled and terminated, never overrun.
    char small[20];
    memset(small, 'x', sizeof small);
    EXPECT_EQ(19, composeTitle(small, sizeof small, path.c_str(), 5, 5));
    EXPECT_STREQ("Quillon 95   nnnnnn", small);
}

TEST(Percent, SmallAndLargeFiles)
{
    struct Case {
        int32_t offset, size, previous, percent;
    } cases[] = {
        {0, 1234567, 9, 0},
        {480, 999, 0, 48},
        {998, 999, 0, 99},
        {0, 0, 37, 37},                       // no file: the old value stays
        {15000000, 30000000, 0, 50},
        {29999984, 30000000, 0, 99},
        {20000000 - 16, 20000000, 0, 99},     // 20,000,000 still multiplies
        {0x7FFFFFF0, 0x7FFFFFFF, 0, 100},
        {0x7FFFFFFF - 16 * 28, 0x7FFFFFFF, 0, 99},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.percent, percentOfOffset(c.offset, c.size, c.previous))
            << c.offset << " of " << c.size;
}

TEST(StatusText, OffsetInEitherRadix)
{
    char text[52];
    offsetStatusText(text, sizeof text, 31, 1, true);
    EXPECT_STREQ("Offset: 1f (HEX)", text);
    offsetStatusText(text, sizeof text, 31, 3, false);
    EXPECT_STREQ("Offset: 31 (DEC)", text);
    offsetStatusText(text, sizeof text, 31, 0, true);
    EXPECT_STREQ("", text);
    offsetStatusText(text, sizeof text, 0x7FFFFFFF, 1, true);
    EXPECT_STREQ("Offset: 7fffffff (HEX)", text);
}

}  // namespace
