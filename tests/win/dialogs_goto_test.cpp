// The Go to offset dialog driven through its real controls: radix
// conversion, the jump in view and edit mode, and the ways out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "wintest.h"

using namespace wintest;

namespace {

// Radio buttons are clicked as the mouse does; push buttons send their
// command to the dialog.
void click(HWND dlg, int id)
{
    if (id >= IDC_GOTO_HEX && id <= IDC_GOTO_OCT) SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
    else SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

class GoToTest : public ::testing::Test {
protected:
    void open(int32_t size)
    {
        path = writeTempFile("goto.bin", patternBytes(size));
        openFile(path.c_str());
        ASSERT_EQ(size, ed.fileSize);
    }
    // Command 102 as the menu or a click on the offset column sends it; the
    // action runs inside the dialog's modal loop.
    void runGoTo(std::function<void(HWND)> action, LPARAM initial = 0)
    {
        auto open = [initial] { SendMessageA(ed.mainWnd, WM_COMMAND, IDM_GOTO, initial); };
        EXPECT_TRUE(runDialog(open, action)) << "the dialog did not open";
        EXPECT_EQ(0, ed.dialogOpen);
    }
    // Types the text and chooses "&Ok".
    void jump(const char *text)
    {
        runGoTo([&](HWND dlg) {
            SetDlgItemTextA(dlg, IDC_GOTO_FIELD, text);
            click(dlg, IDC_GOTO_OK);
        });
    }
    EditorSession session;
    std::string path;
};

TEST_F(GoToTest, RadixButtonsConvertTheNumber)
{
    open(500);
    struct Step {
        const char *typed;      // nullptr: keep the field as it is
        int button;
        const char *shown;
    };
    const Step steps[] = {
        {nullptr, IDC_GOTO_DEC, "0"}, {"100", IDC_GOTO_HEX, "64"}, {nullptr, IDC_GOTO_OCT, "144"},
        {nullptr, IDC_GOTO_DEC, "100"}, {"1g", IDC_GOTO_HEX, "1"},
        {"1g", IDC_GOTO_DEC, "1"}, {"xyz", IDC_GOTO_HEX, "0"}, {"ff", IDC_GOTO_DEC, "255"},
        {nullptr, IDC_GOTO_OCT, "377"}, {"0377", IDC_GOTO_OCT, "377"},
        {"ffffffff", IDC_GOTO_HEX, "0"},    // read in octal, where it is no number
    };
    runGoTo([&](HWND dlg) {
        EXPECT_TRUE(isChecked(dlg, IDC_GOTO_HEX));
        EXPECT_FALSE(isChecked(dlg, IDC_GOTO_DEC));
        EXPECT_EQ("0", itemText(dlg, IDC_GOTO_FIELD));
        EXPECT_EQ("Go to:", windowText(dlg));
        for (const Step &s : steps) {
            if (s.typed) SetDlgItemTextA(dlg, IDC_GOTO_FIELD, s.typed);
            click(dlg, s.button);
            EXPECT_EQ(s.shown, itemText(dlg, IDC_GOTO_FIELD)) << (s.typed ? s.typed : "") << " -> " << s.button;
            for (int b = IDC_GOTO_HEX; b <= IDC_GOTO_OCT; ++b)
                EXPECT_EQ(b == s.button, isChecked(dlg, b));
        }
        // 19 characters are read: no more are taken. A line break (Ctrl+Enter)
        // is a blank: it would hide the number read above the next line.
        for (std::string typed : {"0000000000000000001f", "1f\n20"}) {
            SetDlgItemTextA(dlg, IDC_GOTO_FIELD, "");
            for (char c : typed) SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, WM_CHAR, c, 0);
            EXPECT_EQ(typed[2] == '\n' ? "1f  20" : typed.substr(0, 19), itemText(dlg, IDC_GOTO_FIELD));
        }
        click(dlg, IDC_GOTO_CANCEL);
    });
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(0, ed.topRow);
}

TEST_F(GoToTest, JumpInViewModeHighlightsAndShowsTheOffset)
{
    open(0x4000);
    jump("1f0");
    EXPECT_EQ(0x1f0, ed.selStart);
    EXPECT_EQ(1, ed.selLength);
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0x1f, ed.topRow);
    pump();
    EXPECT_EQ("Offset: 1f0 (HEX)", statusText(1));
    EXPECT_EQ("", statusText(0));
}

TEST_F(GoToTest, TextThatIsNoNumberAndOffsetsPastTheEnd)
{
    open(500);
    const struct {
        const char *text;
        bool decimal;
        int32_t target;
    } cases[] = {
        {"1g", false, 1}, {"xyz", false, 0}, {"", false, 0}, {"ffffffff", false, 499},
        {"80000000", false, 499}, {"1f3", false, 499}, {"1f2", false, 498},
        {"500", true, 499}, {"499", true, 499}, {"99999999999", true, 499}, {"-1", true, 499},
    };
    for (const auto &c : cases) {
        ed.selStart = 77;
        runGoTo([&](HWND dlg) {
            if (c.decimal) click(dlg, IDC_GOTO_DEC);
            SetDlgItemTextA(dlg, IDC_GOTO_FIELD, c.text);
            click(dlg, IDC_GOTO_OK);
        });
        EXPECT_EQ(c.target, ed.selStart) << c.text;
        EXPECT_EQ(c.target / 16, ed.topRow) << c.text;
    }
}

TEST_F(GoToTest, DecimalOffsetsStartInDecimalWithTheClickedRow)
{
    open(0x1000);
    ed.viewFormat = 0x01;
    computeRowLayout();
    runGoTo([&](HWND dlg) {
        EXPECT_TRUE(isChecked(dlg, IDC_GOTO_DEC));
        EXPECT_FALSE(isChecked(dlg, IDC_GOTO_HEX));
        EXPECT_EQ("160", itemText(dlg, IDC_GOTO_FIELD));
        click(dlg, IDC_GOTO_OK);
    }, 160);
    EXPECT_EQ(160, ed.selStart);
    EXPECT_EQ(10, ed.topRow);
    pump();
    EXPECT_EQ("Offset: 160 (DEC)", statusText(1));
}

TEST_F(GoToTest, EditModeMovesTheCaretOnlyWhenOneIsShown)
{
    open(0x1000);
    ed.editMode = 1;
    ed.caretOffset = 5;
    ed.selStart = 5;
    ed.selLength = 1;
    ed.selSkipSecond = 1;
    jump("321");
    EXPECT_EQ(0x321, ed.caretOffset);
    EXPECT_EQ(0x321, ed.selStart);
    EXPECT_EQ(1, ed.selLength);
    EXPECT_EQ(0, ed.selSkipSecond);
    EXPECT_EQ(0x32, ed.topRow);

    // With 16-bit units too the caret goes on the target byte itself.
    ed.viewFormat = 0x13;
    computeRowLayout();
    jump("21");
    EXPECT_EQ(0x21, ed.caretOffset);
    EXPECT_EQ(0x21, ed.selStart);
    EXPECT_EQ("Offset: 21 (HEX)", statusText(1));
    sizeViewTo(8);                      // no whole row shown: no caret on the target
    jump("40");
    EXPECT_EQ(-1, ed.caretOffset);

    ed.caretOffset = -1;
    ed.selStart = 8;
    ed.selLength = 4;
    jump("abc");
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(8, ed.selStart);
    EXPECT_EQ(4, ed.selLength);
    EXPECT_EQ(0xab, ed.topRow);     // the view still moves
}

TEST_F(GoToTest, EnterEscCancelAndCloseBoxMoveNothing)
{
    open(0x1000);
    ed.selStart = 3;
    ed.selLength = 1;
    ed.topRow = 0;
    runGoTo([&](HWND dlg) {
        SetDlgItemTextA(dlg, IDC_GOTO_FIELD, "800");
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindowVisible(dlg)) << "Enter or Esc closed the dialog";
        click(dlg, IDC_GOTO_CANCEL);
    });
    runGoTo([&](HWND dlg) {
        SetDlgItemTextA(dlg, IDC_GOTO_FIELD, "800");
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(3, ed.selStart);
    EXPECT_EQ(0, ed.topRow);
}

TEST_F(GoToTest, NoFileClosesWithoutMoving)
{
    openFile("");
    ed.selStart = 0;
    ed.selLength = 0;
    jump("10");
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(0, ed.topRow);
}

}  // namespace
