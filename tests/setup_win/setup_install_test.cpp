// The installer in-process: destination, copies, registry value and the
// result message, without the program group.
#include <gtest/gtest.h>

#include "setup_harness.h"

using namespace harness;

namespace {

const char *const exts[] = {".exe", ".hlp", ".txt"};

class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        deleteSetupKey();
        char tag[32];
        snprintf(tag, sizeof tag, "setup_t%lu", (unsigned long)GetCurrentProcessId());
        root = std::string("c:\\") + tag;
        removeTree(root);
    }
    void TearDown() override
    {
        removeTree(root);
        deleteSetupKey();
    }
    // The files in dir equal the sources, those named in 'missing' absent.
    void expectInstalled(const std::string &dir, const std::string &tag, const char *missing = nullptr)
    {
        for (const char *e : exts) {
            std::string target = dir + "quillon95" + e;
            if (missing && strcmp(missing, e) == 0)
                EXPECT_FALSE(exists(target)) << target;
            else
                EXPECT_EQ(tag + e + std::string(300, 'x'), readFile(target)) << target;
        }
    }
    std::string root;
};

TEST_F(Install, TypedDriveIsDroppedAndThePathCreatedLevelByLevel)
{
    makeSources("one");
    answer(IDYES);
    answer(IDOK);
    // An e with an accent is in the code page: the name is taken as typed.
    std::string typed = "D:" + root.substr(2) + "\\Tools\\H\xe9x\\";
    EXPECT_EQ(0, runOnce(fill(typed.c_str(), false)));

    std::string rel = root.substr(3) + "\\Tools\\H\xe9x";
    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("Path c:\\" + rel + " does not exist.\nDo you want to create it?\n", boxTexts()[0]);
    EXPECT_EQ("Setup completed", boxTexts()[1]);
    EXPECT_EQ(0, unexpectedBoxes());
    std::string dest = root + "\\Tools\\H\xe9x\\";
    expectInstalled(dest, "one");
    EXPECT_EQ(dest, readHdir());
    EXPECT_EQ(NULL, FindWindowA("wsetupWndClass", NULL));

    // A second run finds the directory and overwrites the files.
    makeSources("two");
    answer(IDOK);
    EXPECT_EQ(0, runOnce(fill(typed.c_str(), false)));
    ASSERT_EQ(1u, boxTexts().size());
    EXPECT_EQ("Setup completed", boxTexts()[0]);
    expectInstalled(dest, "two");
}

TEST_F(Install, DecliningLeavesTheDialogOpenAndALaterOkStillCopies)
{
    std::string src = makeSources("three");
    std::string typed = root.substr(2) + "\\New";
    bool stillOpen = false, created = true;
    std::string keyAfterNo;
    // No: nothing is created or written and the dialog waits; then OK again
    // and Yes installs, from the folder that was current at the start.
    boxActions().push_back([&](HWND box) {
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        later([&] {
            stillOpen = IsWindowVisible(st.setupDialog) != FALSE;
            created = exists(root);
            keyAfterNo = readHdir();
            answer(IDYES);
            answer(IDOK);
            PostMessageA(st.setupDialog, WM_COMMAND, IDC_SETUP_OK, 0);
        }, 100);
    });
    EXPECT_EQ(0, runOnce(fill(typed.c_str(), false)));

    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(created);
    EXPECT_EQ("(no key)", keyAfterNo);
    ASSERT_EQ(3u, boxTexts().size());
    EXPECT_EQ("Setup completed", boxTexts()[2]);
    expectInstalled(root + "\\New\\", "three");

    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_EQ(0, lstrcmpiA(src.c_str(), cwd)) << cwd;
}

TEST_F(Install, ResultMessages)
{
    struct Case {
        const char *name;
        const char *missingSource;
        std::function<void(HWND)> onDialog;
        const char *result;
        bool installs;
    };
    std::string typed = root + "\\R";
    const Case cases[] = {
        {"missing source", ".hlp", fill(typed.c_str(), false), "Setup failed", true},
        {"cancel", nullptr, fill(typed.c_str(), false, IDC_SETUP_CANCEL), "Setup canceled", false},
        {"close box before OK", nullptr,
         [](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, "Setup canceled", false},
        {"Enter and Esc do nothing", nullptr,
         [](HWND dlg) {
             PostMessageA(dlg, WM_COMMAND, IDOK, 0);
             PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
             later([dlg] { PostMessageA(dlg, WM_COMMAND, IDC_SETUP_CANCEL, 0); }, 100);
         },
         "Setup canceled", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        removeTree(root);
        deleteSetupKey();
        makeSources(c.name, c.missingSource);
        answer(IDYES);
        answer(IDOK);
        EXPECT_EQ(0, runOnce(c.onDialog));
        ASSERT_FALSE(boxTexts().empty());
        EXPECT_EQ(c.result, boxTexts().back());
        EXPECT_EQ(0, unexpectedBoxes());
        if (c.installs) {
            expectInstalled(root + "\\R\\", c.name, c.missingSource);
            EXPECT_EQ(root + "\\R\\", readHdir());
        } else {
            EXPECT_FALSE(exists(root));
            EXPECT_EQ("(no key)", readHdir());
        }
    }
}

TEST_F(Install, DirectoryTooLongOrOutsideTheCodePageIsRefused)
{
    makeSources("long");
    std::string typed = root + "\\" + std::string(230, 'L');
    bool stillOpen = false;
    boxActions().push_back([&](HWND box) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        later([&] {
            stillOpen = IsWindowVisible(st.setupDialog) != FALSE;
            PostMessageA(st.setupDialog, WM_COMMAND, IDC_SETUP_CANCEL, 0);
        }, 100);
    });
    answer(IDOK);
    EXPECT_EQ(0, runOnce(fill(typed.c_str(), false)));
    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("The destination path is too long.", boxTexts()[0]);
    EXPECT_EQ("Setup canceled", boxTexts()[1]);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(exists(root));

    // Longer than the edit buffer itself.
    answer(IDOK);
    boxActions().push_back([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    std::string huge = root + "\\" + std::string(400, 'H');
    runOnce([huge](HWND dlg) {
        fill(huge.c_str(), false)(dlg);
        later([dlg] { PostMessageA(dlg, WM_COMMAND, IDC_SETUP_CANCEL, 0); }, 150);
    });
    ASSERT_EQ(2u, boxTexts().size());
    EXPECT_EQ("The destination path is too long.", boxTexts()[0]);
    EXPECT_FALSE(exists(root));

    // A name the code page spells only with a look-alike is refused too.
    boxActions().push_back([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    answer(IDOK);
    std::wstring omega = std::wstring(root.begin() + 2, root.end()) + L"\\\u03a9test";
    runOnce([omega](HWND dlg) {
        SetDlgItemTextW(dlg, IDC_SETUP_DIR, omega.c_str());
        PostMessageA(dlg, WM_COMMAND, IDC_SETUP_OK, 0);
        later([dlg] { PostMessageA(dlg, WM_COMMAND, IDC_SETUP_CANCEL, 0); }, 150);
    });
    EXPECT_EQ("The directory name holds characters that Setup cannot use. Type another name.", boxTexts().at(0));
    EXPECT_FALSE(exists(root));
}

TEST_F(Install, DialogStartsWithTheWindowsDriveAndTheDefaultDirectory)
{
    makeSources("init");
    answer(IDOK);
    std::string dir, drive;
    UINT checked = 0;
    runOnce([&](HWND dlg) {
        char buf[256];
        GetDlgItemTextA(dlg, IDC_SETUP_DIR, buf, sizeof buf);
        dir = buf;
        HWND combo = GetDlgItem(dlg, IDC_SETUP_DRIVES);
        LRESULT sel = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        buf[0] = '\0';
        if (sel != CB_ERR) SendMessageA(combo, CB_GETLBTEXT, sel, (LPARAM)buf);
        drive = buf;
        checked = IsDlgButtonChecked(dlg, IDC_SETUP_ICONS);
        PostMessageA(dlg, WM_COMMAND, IDC_SETUP_CANCEL, 0);
    });
    EXPECT_EQ("\\quillon95", dir);
    EXPECT_EQ("[-c-]", drive);
    EXPECT_EQ((UINT)BST_CHECKED, checked);
}

}  // namespace
