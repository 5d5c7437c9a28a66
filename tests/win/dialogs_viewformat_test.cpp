// The View Format dialog driven through its real controls: the check states
// it starts with, the enable rule, what "&Ok" stores and how the highlight
// follows a new unit size.
#include <gtest/gtest.h>

#include <string>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "wintest.h"

using namespace wintest;

namespace {

bool isEnabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }

// A click as the dialog sees it: an automatic radio button checks itself
// and clears its group, a check box flips, then the command arrives.
void click(HWND dlg, int id)
{
    static const int groups[][2] = {{IDC_FMT_HEX, IDC_FMT_DEC},       {IDC_FMT_8BIT, IDC_FMT_32BIT},
                                    {IDC_FMT_SIGNED, IDC_FMT_UNSIGNED}, {IDC_FMT_OFS_HEX, IDC_FMT_OFS_DEC}};
    for (const auto &g : groups)
        if (id >= g[0] && id <= g[1]) CheckRadioButton(dlg, g[0], g[1], id);
    if (id == IDC_FMT_SWAP)
        CheckDlgButton(dlg, id, isChecked(dlg, id) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

class ViewFormatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = writeTempFile("format.bin", patternBytes(0x200));
        openFile(path.c_str());
        ASSERT_EQ(0x200, ed.fileSize);
    }
    void useFormat(uint8_t format)
    {
        ed.viewFormat = format;
        computeRowLayout();
    }
    // Command 401 as the menu sends it; the action runs inside the dialog.
    void run(std::function<void(HWND)> action)
    {
        auto open = [] { SendMessageA(ed.mainWnd, WM_COMMAND, IDM_FORMAT, 0); };
        EXPECT_TRUE(runDialog(open, action)) << "the dialog did not open";
        EXPECT_EQ(0, ed.dialogOpen);
    }
    // Clicks the controls in order, then "&Ok".
    void choose(std::initializer_list<int> ids)
    {
        run([&](HWND dlg) {
            for (int id : ids) click(dlg, id);
            click(dlg, IDC_FMT_OK);
        });
    }
    void editAt(int32_t offset)
    {
        ed.editMode = 1;
        ed.caretOffset = offset;
        ed.selStart = offset;
        ed.selLength = 16 / ed.unitsPerRow;
    }
    EditorSession session;
    std::string path;
};

TEST_F(ViewFormatTest, ControlsStartFromTheFormat)
{
    const struct {
        uint8_t format;
        std::initializer_list<int> checked;
        bool signedEnabled;
    } cases[] = {
        {0x11, {IDC_FMT_HEX, IDC_FMT_8BIT, IDC_FMT_UNSIGNED, IDC_FMT_OFS_HEX}, false},
        {0x0A, {IDC_FMT_DEC, IDC_FMT_16BIT, IDC_FMT_SIGNED, IDC_FMT_OFS_DEC}, true},
        {0x2D, {IDC_FMT_HEX, IDC_FMT_32BIT, IDC_FMT_SIGNED, IDC_FMT_OFS_DEC, IDC_FMT_SWAP}, false},
        {0x14, {IDC_FMT_DEC, IDC_FMT_32BIT, IDC_FMT_UNSIGNED, IDC_FMT_OFS_HEX}, true},
    };
    for (const auto &c : cases) {
        useFormat(c.format);
        run([&](HWND dlg) {
            EXPECT_EQ("View Format", windowText(dlg));
            for (int id = IDC_FMT_HEX; id <= IDC_FMT_SWAP; ++id) {
                if (id == IDC_FMT_OK || id == IDC_FMT_CANCEL || id == IDC_FMT_CONTENTS || id == IDC_FMT_OFFSET)
                    continue;
                bool expect = false;
                for (int want : c.checked) expect = expect || want == id;
                EXPECT_EQ(expect, isChecked(dlg, id)) << "format " << int(c.format) << " control " << id;
            }
            EXPECT_EQ(c.signedEnabled, isEnabled(dlg, IDC_FMT_SIGNED));
            EXPECT_EQ(c.signedEnabled, isEnabled(dlg, IDC_FMT_UNSIGNED));
            click(dlg, IDC_FMT_CANCEL);
        });
        EXPECT_EQ(c.format, ed.viewFormat);
    }
}

TEST_F(ViewFormatTest, OkStoresTheCheckedFormat)
{
    const struct {
        uint8_t before;
        std::initializer_list<int> clicks;
        uint8_t after;
    } cases[] = {
        {0x11, {IDC_FMT_32BIT}, 0x15},
        {0x11, {IDC_FMT_DEC, IDC_FMT_SIGNED, IDC_FMT_16BIT}, 0x1A},
        {0x11, {IDC_FMT_OFS_DEC, IDC_FMT_SWAP}, 0x21},
        {0x21, {IDC_FMT_SWAP, IDC_FMT_OFS_HEX}, 0x11},
        {0x0C, {IDC_FMT_8BIT, IDC_FMT_UNSIGNED}, 0x00},
        // The signed choice is kept while hexadecimal is shown.
        {0x08, {IDC_FMT_HEX}, 0x09},
        {0x09, {IDC_FMT_DEC}, 0x08},
    };
    for (const auto &c : cases) {
        useFormat(c.before);
        choose(c.clicks);
        EXPECT_EQ(c.after, ed.viewFormat) << "from " << int(c.before);
        EXPECT_EQ(16 / ((c.after & 0x04) ? 4 : (c.after & 0x02) ? 2 : 1), ed.unitsPerRow);
    }
}

TEST_F(ViewFormatTest, HexadecimalGreysSignedButKeepsItsMark)
{
    useFormat(0x08);
    run([&](HWND dlg) {
        EXPECT_TRUE(isEnabled(dlg, IDC_FMT_SIGNED));
        click(dlg, IDC_FMT_HEX);
        EXPECT_FALSE(isEnabled(dlg, IDC_FMT_SIGNED));
        EXPECT_FALSE(isEnabled(dlg, IDC_FMT_UNSIGNED));
        EXPECT_TRUE(isChecked(dlg, IDC_FMT_SIGNED));
        click(dlg, IDC_FMT_DEC);
        EXPECT_TRUE(isEnabled(dlg, IDC_FMT_SIGNED));
        EXPECT_TRUE(isChecked(dlg, IDC_FMT_SIGNED));
        click(dlg, IDC_FMT_HEX);
        click(dlg, IDC_FMT_OK);
    });
    EXPECT_EQ(0x09, ed.viewFormat);
    run([&](HWND dlg) {
        EXPECT_TRUE(isChecked(dlg, IDC_FMT_SIGNED));
        EXPECT_FALSE(isEnabled(dlg, IDC_FMT_SIGNED));
        click(dlg, IDC_FMT_CANCEL);
    });
}

TEST_F(ViewFormatTest, EditingRealignsTheHighlightToTheNewUnit)
{
    useFormat(0x11);
    editAt(0x13);
    ed.selSkipSecond = 1;
    ed.selSkipPenultimate = 1;
    choose({IDC_FMT_32BIT});
    EXPECT_EQ(0x15, ed.viewFormat);
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0x10, ed.selStart);
    EXPECT_EQ(4, ed.selLength);
    EXPECT_EQ(0, ed.selSkipSecond);
    EXPECT_EQ(0, ed.selSkipPenultimate);
    pump();
    EXPECT_EQ("Offset: 10 (HEX)", statusText(1));

    editAt(0x17);
    choose({IDC_FMT_16BIT, IDC_FMT_OFS_DEC});
    EXPECT_EQ(0x16, ed.selStart);
    EXPECT_EQ(2, ed.selLength);
    pump();
    EXPECT_EQ("Offset: 22 (DEC)", statusText(1));

    // Only the offset radix: the caret still goes.
    editAt(0x16);
    choose({IDC_FMT_OFS_HEX});
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0x16, ed.selStart);
}

TEST_F(ViewFormatTest, UnchangedViewModeAndTextColumnKeepTheCaret)
{
    useFormat(0x11);
    editAt(0x13);
    choose({});                             // the same choices: nothing happens
    EXPECT_EQ(0x13, ed.caretOffset);
    EXPECT_EQ(0x13, ed.selStart);
    choose({IDC_FMT_32BIT, IDC_FMT_8BIT});  // back where it was
    EXPECT_EQ(0x13, ed.caretOffset);

    for (uint8_t mode : {0, 2}) {
        useFormat(0x11);
        ed.editMode = mode;
        ed.caretOffset = mode ? 0x13 : -1;
        ed.selStart = 0x13;
        ed.selLength = 1;
        choose({IDC_FMT_32BIT});
        EXPECT_EQ(0x15, ed.viewFormat);
        EXPECT_EQ(mode ? 0x13 : -1, ed.caretOffset);
        EXPECT_EQ(0x13, ed.selStart);
        EXPECT_EQ(1, ed.selLength);
        EXPECT_EQ(4, ed.unitsPerRow);
        choose({IDC_FMT_OFS_DEC});
        pump();
        EXPECT_EQ("Offset: 19 (DEC)", statusText(1)) << "mode " << int(mode);
    }

    // Unless the wider rows bring the horizontal scroll bar over the
    // caret's row: the caret goes, and a key changes no byte.
    useFormat(0x11);
    sizeViewTo(3 * 16, 700);                // the header and two rows
    ASSERT_EQ(0, ed.hScrollMax);
    ed.editMode = 2;
    ed.caretOffset = 0x13;
    unsigned char before = ed.pageBuffer[0x13];
    choose({IDC_FMT_DEC, IDC_FMT_SIGNED, IDC_FMT_OFS_DEC});
    EXPECT_NE(0, ed.hScrollMax);
    EXPECT_EQ(-1, ed.caretOffset);
    SendMessageA(ed.mainWnd, WM_CHAR, 'Z', 0);
    EXPECT_EQ(before, ed.pageBuffer[0x13]);
}

TEST_F(ViewFormatTest, CancelCloseBoxEnterAndEscStoreNothing)
{
    useFormat(0x11);
    editAt(0x13);
    run([&](HWND dlg) {
        click(dlg, IDC_FMT_32BIT);
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindowVisible(dlg)) << "Enter or Esc closed the dialog";
        click(dlg, IDC_FMT_CANCEL);
    });
    run([&](HWND dlg) {
        click(dlg, IDC_FMT_DEC);
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(0x11, ed.viewFormat);
    EXPECT_EQ(0x13, ed.caretOffset);
    EXPECT_EQ(16, ed.unitsPerRow);
}

}  // namespace
