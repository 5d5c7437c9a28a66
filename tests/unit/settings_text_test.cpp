// Texts of the registry values and the recent-files list; where the window opens.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <tuple>
#include <vector>

#include "shell/placement.h"
#include "shell/settings_text.h"

namespace {

TEST(SettingsText, RegistryValuesAreTakenOnlyWhenTheyFit)
{
    const struct {
        std::string data;
        uint32_t type;
        size_t destSize;
        int result;
        const char *text;
    } cases[] = {
        {std::string("17\0", 3), VALUE_TYPE_SZ, 16, 1, "17"},
        {std::string("17", 2), VALUE_TYPE_SZ, 16, 1, "17"},              // no terminating zero
        {std::string("\0", 1), VALUE_TYPE_SZ, 16, 1, ""},
        {std::string("ab\0cd\0", 6), VALUE_TYPE_EXPAND_SZ, 16, 1, "ab"},
        {std::string(15, '7') + '\0', VALUE_TYPE_SZ, 16, 1, "777777777777777"},
        {std::string(16, '7') + '\0', VALUE_TYPE_SZ, 16, 0, ""},          // one too long
        {std::string(16, '7'), VALUE_TYPE_SZ, 16, 0, ""},
        {std::string("\x11\0\0\0", 4), 4 /* REG_DWORD */, 16, 0, ""},
        {std::string("17\0", 3), 3 /* REG_BINARY */, 16, 0, ""},
        {std::string("a\0b\0\0", 5), 7 /* REG_MULTI_SZ */, 16, 0, ""},
        {std::string(), VALUE_TYPE_SZ, 16, 0, ""},
    };
    for (const auto &c : cases) {
        std::vector<char> dest(c.destSize + 4, '#');
        EXPECT_EQ(c.result, settingFromValue(c.data.data(), c.data.size(), c.type, dest.data(), c.destSize))
            << c.data;
        EXPECT_STREQ(c.text, dest.data());
        for (size_t i = c.destSize; i < dest.size(); ++i) EXPECT_EQ('#', dest[i]) << "written past the buffer";
    }
}

TEST(SettingsText, DefaultCharacters)
{
    char text[16];
    defaultSettingText(text, sizeof text, 3, 1);
    EXPECT_STREQ("31000", text);
    defaultSettingText(text, sizeof text, 0, 0);
    EXPECT_STREQ("00000", text);

    const struct {
        const char *text;
        uint8_t options, ignoreCase;
    } cases[] = {
        {"31000", 3, 1}, {"2", 2, 1}, {"00000", 0, 0}, {"10", 1, 0},
        {"4", 9, 1},     {"/0", 9, 0}, {"", 9, 1},     {"x1", 9, 1},
    };
    for (const auto &c : cases) {
        uint8_t options = 9, ignoreCase = 7;    // 9: what it was before
        parseDefaultSetting(c.text, &options, &ignoreCase);
        EXPECT_EQ(c.options, options) << c.text;
        EXPECT_EQ(c.ignoreCase, ignoreCase) << c.text;
    }
}

TEST(SettingsText, NumbersFormatAndPlacement)
{
    const struct {
        const char *text;
        int32_t value;
    } numbers[] = {
        {"17", 17}, {"-20", -20}, {"0x21", 33}, {"010", 8}, {"  5x", 5}, {"abc", 0},
        {"", 0}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN},
        {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN}, {"-2147483649", INT32_MIN},
    };
    for (const auto &n : numbers) EXPECT_EQ(n.value, parseLongSetting(n.text)) << n.text;

    EXPECT_EQ(0x21, formatFromSetting(33));     // 8-bit hex, decimal offsets, swapped text
    EXPECT_EQ(0x11, formatFromSetting(17));
    EXPECT_EQ(0x0C, formatFromSetting(0x10C));  // low 8 bits
    EXPECT_EQ(0x11, formatFromSetting(0x06));   // both size bits: the default
    EXPECT_EQ(0x11, formatFromSetting(0x3F));

    const struct {
        const char *text;
        bool mustBePositive;
        int32_t field;
        uint8_t missing;
    } values[] = {
        {"", false, -1, 5},   {"", true, -1, 5},  {"12", false, 12, 4}, {"abc", false, 0, 4},
        {"-3", false, -3, 4}, {"-3", true, -3, 5}, {"0", true, 0, 5},   {"640", true, 640, 4},
    };
    for (const auto &v : values) {
        int32_t field = -1;
        uint8_t missing = 5;
        takePlacementValue(v.text, v.mustBePositive, &field, &missing);
        EXPECT_EQ(v.field, field) << v.text;
        EXPECT_EQ(v.missing, missing) << v.text;
    }
}

struct Recent {
    char list[RECENT_ENTRIES][RECENT_PATH_CHARS];
    int16_t count = 0;
    Recent() { memset(list, 0, sizeof list); }
    void open(const char *path) { count = addRecentPath(list, count, path); }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) out.push_back(list[i]);
        return out;
    }
};

TEST(SettingsText, RecentFilesMoveToTheTop)
{
    using L = std::vector<std::string>;
    const struct {
        std::vector<const char *> opened;
        L expect;
    } cases[] = {
        {{"A"}, {"A"}},
        {{"A", "B", "A"}, {"A", "B"}},
        {{"A", "B", "C", "D", "E"}, {"E", "D", "C", "B"}},
        {{"A", "B", "C", "D", "B"}, {"B", "D", "C", "A"}},
        {{"A", "B", "C", "D", "D"}, {"D", "C", "B", "A"}},
        {{"C:\\DATA\\A.BIN", "c:\\data\\a.bin"}, {"c:\\data\\a.bin"}},
        {{"C:\\DATA\\A.BIN", "X", "c:\\data\\a.bin"}, {"c:\\data\\a.bin", "X"}},
    };
    for (const auto &c : cases) {
        Recent r;
        for (const char *p : c.opened) r.open(p);
        EXPECT_EQ(c.expect, r.entries());
        for (int i = r.count; i < RECENT_ENTRIES; ++i) EXPECT_STREQ("", r.list[i]) << "entry " << i;
    }

    // A list that came from the registry with a duplicate keeps no copy.
    Recent r;
    strcpy(r.list[0], "A");
    strcpy(r.list[1], "a");
    strcpy(r.list[2], "B");
    r.count = 3;
    r.open("A");
    EXPECT_EQ(L({"A", "B"}), r.entries());

    // A path longer than an entry is cut, never copied past it.
    Recent l;
    std::string longPath(400, 'p');
    l.open(longPath.c_str());
    EXPECT_EQ(std::string(RECENT_PATH_CHARS - 1, 'p'), l.entries()[0]);

    EXPECT_TRUE(samePath("C:\\Data\\x.bin", "c:\\DATA\\X.BIN"));
    EXPECT_FALSE(samePath("C:\\Data\\x.bin", "C:\\Data\\x.bi"));
    EXPECT_FALSE(samePath("a", "ab"));
}

TEST(SettingsText, MenuTextAndHelpPath)
{
    char text[300];
    recentItemText(text, sizeof text, 0, "C:\\DATA\\A.BIN");
    EXPECT_STREQ("&1 C:\\DATA\\A.BIN", text);
    recentItemText(text, sizeof text, 3, "x");
    EXPECT_STREQ("&4 x", text);
    // The path's own "&" shows as it is; a cut leaves no half of a pair.
    recentItemText(text, sizeof text, 0, "C:\\t\\R&D&&.bin");
    EXPECT_STREQ("&1 C:\\t\\R&&D&&&&.bin", text);
    recentItemText(text, 6, 0, "R&D");
    EXPECT_STREQ("&1 R", text);
    recentItemText(text, 7, 0, "R&D");
    EXPECT_STREQ("&1 R&&", text);
    memset(text, '#', 4);
    recentItemText(text, 3, 0, "x");            // room for "&1" only; nothing written past it
    EXPECT_STREQ("&1", text);
    EXPECT_EQ('#', text[3]);
    memset(text, '#', 4);
    recentItemText(text, 1, 0, "x");            // room for the zero only
    EXPECT_STREQ("", text);
    EXPECT_EQ('#', text[1]);

    char help[256];
    helpPathOf("C:\\Q95\\", "quillon95.hlp", help, sizeof help);
    EXPECT_STREQ("C:\\Q95\\quillon95.hlp", help);
    helpPathOf("", "quillon95.hlp", help, sizeof help);
    EXPECT_STREQ("", help);
    std::string dir(242, 'd');                  // 242 + 13 = 255: fits with its zero
    helpPathOf(dir.c_str(), "quillon95.hlp", help, sizeof help);
    EXPECT_EQ(dir + "quillon95.hlp", help);
    dir += 'd';                                 // 256 with the zero: does not fit
    helpPathOf(dir.c_str(), "quillon95.hlp", help, sizeof help);
    EXPECT_STREQ("", help);
}

TEST(SettingsText, RememberedWindowOpensWhereItsCaptionCanBeGrabbed)
{
    const PlaceRect screen = {0, 0, 1280, 1024}, twoWide = {0, 0, 2560, 1024};
    const PlaceRect leftOfPrimary = {-1024, 0, 2304, 1024}, none = {0, 0, 0, 0};
    const PlaceRect taskbarBelow = {0, 0, 1280, 994}, taskbarAbove = {0, 30, 1280, 994};
    const struct {
        PlaceRect desktop, remembered, expect, workArea = {0, 0, 0, 0};
        int32_t screenWidth = 1280, screenHeight = 1024;
    } cases[] = {
        {screen, {120, 90, 640, 480}, {120, 90, 640, 480}},
        {screen, {1216, 1012, 700, 500}, {1216, 1012, 700, 500}},  // 64 x 8 of the caption shown
        {screen, {1217, 100, 700, 500}, {580, 100, 700, 500}},     // 63 wide: too little
        {screen, {100, 1013, 700, 500}, {100, 524, 700, 500}},     // 7 rows at the bottom: too few
        {screen, {100, -14, 700, 500}, {100, -14, 700, 500}},      // 8 rows below the top
        {screen, {3000, 2500, 700, 500}, {580, 524, 700, 500}},
        {screen, {INT32_MAX, 100, INT32_MAX, INT32_MAX}, {0, 0, 1280, 1024}},
        {twoWide, {1500, 200, 700, 500}, {1500, 200, 700, 500}},   // on the second monitor
        {leftOfPrimary, {-3000, 100, 700, 500}, {-1024, 100, 700, 500}},
        {none, {1500, 200, 700, 500}, {580, 200, 700, 500}},       // the primary screen, 1280 x 1024
        {screen, {1200, 1000, 600, 400}, {680, 624, 600, 400}, taskbarBelow},
        {screen, {1200, 960, 600, 400}, {1200, 960, 600, 400}, taskbarBelow},
        {screen, {100, -14, 700, 500}, {100, 30, 700, 500}, taskbarAbove},
        {twoWide, {1500, 1000, 700, 500}, {1500, 1000, 700, 500}, taskbarBelow},   // on the other screen
        {{0, -1024, 1280, 2048}, {100, -11, 700, 500}, {100, 30, 700, 500}, taskbarAbove},  // a screen above
        {none, {100, 200, 700, 500}, {100, 200, 700, 500}, none, 0},      // nothing to go by
        {none, {100, 200, 700, 500}, {100, 200, 700, 500}, none, 1280, 0},
    };
    auto tie = [](const PlaceRect &r) { return std::make_tuple(r.left, r.top, r.width, r.height); };
    for (const auto &c : cases)
        EXPECT_EQ(tie(c.expect), tie(placementOnScreen(c.remembered, {c.desktop, c.screenWidth, c.screenHeight, 4, 18, c.workArea})));
}

// The default format (75 characters a row, the first unit ending 12 in) in
// an 8 x 16 cell, 16-pixel scroll bars, the status bar's 20 pixels.
TEST(SettingsText, RememberedSizeMustShowTheHeaderAndOneDataRow)
{
    const ViewNeeds needs = {20, 16, 16, 8, 16, 8, 2, 75};
    const struct { int32_t width, height; bool shows; } cases[] = {
        {112, 68, true}, {111, 68, false}, {112, 67, false}, {640, 52, true}, {639, 52, false},
    };
    for (const auto &c : cases) EXPECT_EQ(c.shows, clientShowsData(c.width, c.height, needs)) << c.width;
}

}  // namespace
