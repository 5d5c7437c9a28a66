#include <gtest/gtest.h>

#include <string>

#include "document/cmdline.h"
#include "document/filenames.h"

namespace {

struct Case {
    const char *args;
    CommandLineAction action;
    const char *path;
};

TEST(CommandLine, WholeArgumentIsOnePath)
{
    const Case cases[] = {
        {"", CMDLINE_OFFER_OPEN, ""},
        {"C:\\DATA\\A.BIN", CMDLINE_OPEN_PATH, "C:\\DATA\\A.BIN"},
        {"\"C:\\My Files\\a.bin\"", CMDLINE_OPEN_PATH, "C:\\My Files\\a.bin"},
        {"C:\\My Files\\a.bin", CMDLINE_OPEN_PATH, "C:\\My Files\\a.bin"},
        {"a.bin b.bin", CMDLINE_OPEN_PATH, "a.bin b.bin"},
        {"\"", CMDLINE_OPEN_PATH, ""},
        {"\"\"", CMDLINE_OPEN_PATH, ""},
        {"\"a.bin", CMDLINE_OPEN_PATH, "a.bin"},
        {"a.bin\"", CMDLINE_OPEN_PATH, "a.bin"},
        {"\"\"a\"\"", CMDLINE_OPEN_PATH, "\"a\""},
    };
    for (const Case &c : cases) {
        char path[256];
        EXPECT_EQ(c.action, parseCommandLine(c.args, path, sizeof path)) << c.args;
        EXPECT_STREQ(c.path, path) << c.args;
    }
}

TEST(CommandLine, ArgumentsThatDoNotFitAreRefused)
{
    char path[256];
    std::string fits(255, 'x'), tooLong(256, 'x');
    EXPECT_EQ(CMDLINE_OPEN_PATH, parseCommandLine(fits.c_str(), path, sizeof path));
    EXPECT_EQ(fits, path);

    // One character more than the buffer holds with its zero: refused, and
    // nothing is written past the buffer (the sanitizers watch the copy).
    EXPECT_EQ(CMDLINE_TOO_LONG, parseCommandLine(tooLong.c_str(), path, sizeof path));
    EXPECT_STREQ("", path);
    // The quotes do not count: a quoted path that fits is opened.
    std::string quoted = "\"" + std::string(255, 'y') + "\"";
    EXPECT_EQ(CMDLINE_OPEN_PATH, parseCommandLine(quoted.c_str(), path, sizeof path));
    EXPECT_EQ(std::string(255, 'y'), path);
    quoted = "\"" + std::string(256, 'y') + "\"";
    EXPECT_EQ(CMDLINE_TOO_LONG, parseCommandLine(quoted.c_str(), path, sizeof path));

    char tiny[5];
    EXPECT_EQ(CMDLINE_TOO_LONG, parseCommandLine("abcde", tiny, sizeof tiny));
    EXPECT_EQ(CMDLINE_OPEN_PATH, parseCommandLine("\"ab\"", tiny, sizeof tiny));
    EXPECT_STREQ("ab", tiny);
}

TEST(CommandLine, ProgramNameIsSkipped)
{
    EXPECT_STREQ("a.bin", skipProgramName("quillon95.exe a.bin"));
    EXPECT_STREQ("\"a b.bin\"", skipProgramName("  \"C:\\Program Files\\q.exe\"  \"a b.bin\""));
    EXPECT_STREQ("", skipProgramName("q.exe"));
    EXPECT_STREQ("", skipProgramName("\"unterminated"));
    EXPECT_STREQ("x", skipProgramName("\tq.exe\t x"));
    EXPECT_STREQ("a.bin", skipProgramName("\"q.exe\"a.bin"));    // the argument right after the quote

    // The Unicode command line of the NT family takes the same rules.
    wchar_t path[4];
    EXPECT_EQ(CMDLINE_OPEN_PATH, parseCommandLine(skipProgramName(L"\"q.exe\" \"\u65e5\u672c\""), path, 4));
    EXPECT_EQ(std::wstring(L"\u65e5\u672c"), path);
    EXPECT_EQ(CMDLINE_TOO_LONG, parseCommandLine(L"abcd", path, 4));
}

TEST(FileNames, DevicesAreNoFilesAndUnicodeNamesNeedAnExactSpelling)
{
    for (const char *name : {"\\\\.\\PhysicalDrive0", "\\\\.\\C:", "//./pipe/x", "\\\\?\\C:\\a.bin", "\\/.\\COM1",
                             "\\??\\C:", "/?\?/PhysicalDrive0"})
        EXPECT_TRUE(isDeviceNamespace(name)) << name;
    for (const char *name : {"", "\\\\server\\share\\a.bin", "\\\\.", ".\\a.bin", "C:\\.\\a.bin", "\\?"})
        EXPECT_FALSE(isDeviceNamespace(name)) << name;

    // Never the inexact spelling, which may name another file.
    EXPECT_EQ(USE_ANSI_NAME, unicodeNameUse(true, false, false));   // missing: openFile reports it
    EXPECT_EQ(USE_SHORT_NAME, unicodeNameUse(false, true, true));
    EXPECT_EQ(NAME_UNUSABLE, unicodeNameUse(false, false, true));   // a volume without short names
    EXPECT_EQ(NAME_MISSING, unicodeNameUse(false, false, false));
}

}  // namespace
