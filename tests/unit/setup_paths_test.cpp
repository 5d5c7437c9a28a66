#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/setup_paths.h"

namespace {

// Japanese Windows: 0x83 0x5C is one character, though 0x5C is a backslash.
bool shiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(SetupPaths, TypedDirectoryIsReducedBelowTheRoot)
{
    const struct {
        const char *typed, *reduced;
    } cases[] = {
        {"\\quillon95", "quillon95"},
        {"D:\\Tools\\Hex\\", "Tools\\Hex"},
        {"d:Tools", "Tools"},
        {"Tools\\Hex", "Tools\\Hex"},
        {"\\\\twice\\\\", "\\twice\\"},     // one backslash at each end only
        {"\\", ""},
        {"c:\\", ""},
        {"c:", ""},
        {"", ""},
        {"x", "x"},
        {":\\a", ":\\a"},                    // no drive letter before the colon
        {"c:/tools/hexed/", "tools\\hexed"},
        {"/a\\b/c", "a\\b\\c"},
        {"c:\\tools\\\x83\x5c", "tools\\\x83\x5c"},
    };
    for (const auto &c : cases) {
        char dir[SETUP_PATH_CHARS];
        snprintf(dir, sizeof dir, "%s", c.typed);
        reduceTypedDirectory(dir, shiftJisLead);
        EXPECT_STREQ(c.reduced, dir) << c.typed;
    }
}

TEST(SetupPaths, DriveRootComesFromTheListItem)
{
    const struct {
        const char *item, *root;
    } cases[] = {
        {"[-c-]", "c:\\"}, {"[-Z-]", "Z:\\"}, {"d", "d:\\"}, {"  e: label", "e:\\"}, {"[--]", nullptr}, {"", nullptr},
    };
    for (const auto &c : cases) {
        char root[8] = "old";
        EXPECT_EQ(c.root != nullptr, driveRootFromItem(c.item, root, sizeof root)) << c.item;
        if (c.root) {
            EXPECT_STREQ(c.root, root) << c.item;
        }
    }
    char tiny[3];
    EXPECT_FALSE(driveRootFromItem("[-c-]", tiny, sizeof tiny));

    EXPECT_TRUE(itemNamesDrive("[-C-]", 'c'));
    EXPECT_FALSE(itemNamesDrive("[-d-]", 'c'));
}

TEST(SetupPaths, DestinationIsTheFullDirectoryWithOneTrailingBackslash)
{
    const struct {
        const char *root, *dir, *full;
    } cases[] = {
        {"c:\\", "quillon95", "c:\\quillon95\\"},
        {"c:\\", "Tools\\Hex", "c:\\Tools\\Hex\\"},
        {"c:\\", "Tools\\Hex\\", "c:\\Tools\\Hex\\"},
        {"c:\\", "d:\\x", "d:\\x\\"},         // already names its drive
        {"c:\\", "", "c:\\"},                  // the root itself
        {"c:\\", "\x83\x5c", "c:\\\x83\x5c\\"},
    };
    for (const auto &c : cases) {
        char full[SETUP_PATH_CHARS];
        ASSERT_TRUE(composeDestination(c.root, c.dir, full, sizeof full, shiftJisLead)) << c.dir;
        EXPECT_STREQ(c.full, full) << c.dir;
    }
}

TEST(SetupPaths, CreateQuestionHasRoomForEveryAcceptedDirectory)
{
    char text[SETUP_QUESTION_CHARS];
    std::string longest(SETUP_PATH_CHARS - 1 - 44, 'd');
    ASSERT_TRUE(destinationFits("c:\\", longest.c_str(), "Quillon", "quillon95"));
    EXPECT_TRUE(formatCreateQuestion("c:\\", longest.c_str(), text, sizeof text));
}

// Every composed text must fit its 256-byte buffer; the longest one decides
// how long a typed directory may be. Each output is checked for a write past
// its end by the sanitizers and by a guard byte.
TEST(SetupPaths, LongDirectoriesAreRefusedWithoutOverrun)
{
    // "[AddItem(\"" + "c:\\" + dir + "\\quillon95.hlp\",Quillon95.hlp)]" is
    // the longest text: 3 + n + 1 + 13 + 27 = n + 44 characters.
    size_t longest = SETUP_PATH_CHARS - 1 - 44;
    std::string fits(longest, 'd'), tooLong(longest + 1, 'd');
    EXPECT_TRUE(destinationFits("c:\\", fits.c_str(), "Quillon", "quillon95"));
    EXPECT_FALSE(destinationFits("c:\\", tooLong.c_str(), "Quillon", "quillon95"));
    EXPECT_FALSE(destinationFits("c:\\", std::string(300, 'd').c_str(), "Quillon", "quillon95"));

    for (size_t n : {fits.size(), tooLong.size(), (size_t)255, (size_t)400}) {
        std::string dir = "c:\\" + std::string(n, 'x') + "\\";
        std::vector<char> out(SETUP_PATH_CHARS + 1, '#');
        for (int k = 0; k < 5; ++k) formatGroupCommand(k, "Quillon", dir.c_str(), "quillon95", true, out.data(), SETUP_PATH_CHARS);
        composeFilePath(dir.c_str(), "quillon95", 1, out.data(), SETUP_PATH_CHARS);
        composeDestination("c:\\", dir.c_str() + 3, out.data(), SETUP_PATH_CHARS);
        formatCreateQuestion("c:\\", dir.c_str(), out.data(), SETUP_PATH_CHARS);
        EXPECT_EQ('#', out[SETUP_PATH_CHARS]) << n;
    }
}

TEST(SetupPaths, ComponentsAreWalkedOneLevelAtATime)
{
    const struct {
        const char *path;
        std::vector<std::string> parts;
    } cases[] = {
        {"Tools\\Hex", {"Tools", "Hex"}},
        {"\\a\\\\b\\", {"a", "b"}},
        {"c:\\x\\y", {"c:", "x", "y"}},
        {"", {}},
        {"\\", {}},
        {"a\\\x83\x5c\\b", {"a", "\x83\x5c", "b"}},
    };
    for (const auto &c : cases) {
        std::vector<std::string> got;
        size_t pos = 0;
        char part[SETUP_PATH_CHARS];
        while (nextPathComponent(c.path, &pos, part, sizeof part, shiftJisLead)) got.push_back(part);
        EXPECT_EQ(c.parts, got) << c.path;
    }
    char tiny[4];
    size_t pos = 0;
    EXPECT_FALSE(nextPathComponent("long\\x", &pos, tiny, sizeof tiny));
}

}  // namespace
