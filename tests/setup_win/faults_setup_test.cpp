// The installer against destinations it cannot use: a drive of the list
// that goes away before OK and a file system where nothing can be created.
// Each run ends with "Setup failed" and creates nothing anywhere else.
#include <gtest/gtest.h>

#include <algorithm>

#include "setup_harness.h"
#include "tests/support/faults_unix.h"

using namespace faults;
using namespace harness;

namespace {

std::string winePrefix()
{
    char buf[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA("WINEPREFIX", buf, sizeof buf);
    return n > 0 && n < sizeof buf ? buf : "";
}

// Picks the drive item for a letter, types the directory and presses OK,
// after `beforeOk` ran (with the dialog up).
std::function<void(HWND)> chooseDrive(char letter, const std::string &dir, std::function<void()> beforeOk)
{
    return [letter, dir, beforeOk](HWND dlg) {
        std::string item = std::string("[-") + letter + "-]";
        SendDlgItemMessageA(dlg, IDC_SETUP_DRIVES, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)item.c_str());
        if (beforeOk) beforeOk();
        fill(dir.c_str(), false)(dlg);
    };
}

// The folder names under a folder, sorted.
std::string folderNames(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n != "." && n != ".." && (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(n);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string &n : names) all += n + " ";
    return all;
}

class SetupFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        deleteSetupKey();
        if (!unixCommandsWork()) GTEST_SKIP() << "Unix commands cannot be started from this Wine";
        scratch = unixScratch();
    }
    void TearDown() override { deleteSetupKey(); }
    std::string scratch;
};

// A drive of the list whose medium goes away between the listing and OK
// (under Wine: its folder is removed): the question, Yes, and a failure;
// the folders are not made in the current directory instead.
TEST_F(SetupFaults, DriveThatGoesAwayBeforeOk)
{
    std::string prefix = winePrefix();
    if (prefix.empty()) GTEST_SKIP() << "WINEPREFIX is not set";
    std::string medium = scratch + "/medium";
    std::string link = prefix + "/dosdevices/q:";
    ASSERT_EQ(0, runUnix("mkdir -p " + medium + " && ln -sfn " + medium + " '" + link + "'"));
    std::string src = makeSources("gone");
    std::string before = folderNames(src);

    answer(IDYES);
    answer(IDOK);
    EXPECT_EQ(0, runOnce(chooseDrive('q', "quillon95\\sub", [&] { runUnix("rm -rf " + medium); })));
    runUnix("rm -f '" + link + "'");

    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("Path q:\\quillon95\\sub does not exist.\nDo you want to create it?\n", boxTexts()[0]);
    EXPECT_EQ("Setup failed", boxTexts()[1]);
    EXPECT_EQ(0, unexpectedBoxes());
    EXPECT_EQ(before, folderNames(src)) << "folders were made in the current directory";
    EXPECT_NE(0, runUnix("test -e " + medium));
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_EQ(0, lstrcmpiA(src.c_str(), cwd)) << cwd;
}

// A file system where nothing can be created, reached through drive Z:.
TEST_F(SetupFaults, ReadOnlyDestination)
{
    std::string mount = scratch + "/ro";
    int status = runUnix("mkdir -p " + mount + " && mount -t tmpfs -o size=64k tmpfs " + mount);
    if (status != 0) GTEST_SKIP() << "mounting a tmpfs was refused (needs root); status " << status;
    ASSERT_EQ(0, runUnix("mkdir " + mount + "/quillon95 && mount -o remount,ro " + mount));
    std::string dirOnZ = mount.substr(1);
    for (char &c : dirOnZ)
        if (c == '/') c = '\\';

    struct Case {
        const char *name;
        std::string typed;
        bool asks;
    };
    const Case cases[] = {
        {"existing folder", dirOnZ + "\\quillon95", false},
        {"folder to be made", dirOnZ + "\\new\\sub", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        makeSources(c.name);
        if (c.asks) answer(IDYES);
        answer(IDOK);
        EXPECT_EQ(0, runOnce(chooseDrive('z', c.typed, nullptr)));
        ASSERT_FALSE(boxTexts().empty());
        EXPECT_EQ(c.asks ? 2u : 1u, boxTexts().size());
        EXPECT_EQ("Setup failed", boxTexts().back());
        EXPECT_EQ(0, unexpectedBoxes());
        EXPECT_EQ("z:\\" + c.typed + "\\", readHdir()) << "the value is written even when copies failed";
    }
    EXPECT_EQ(0, runUnix("test `ls -A " + mount + "/quillon95 | wc -l` = 0 && test ! -e " + mount + "/new"));
    runUnix("umount " + mount + " || umount -l " + mount);
}

}  // namespace
