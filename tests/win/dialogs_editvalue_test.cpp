// The Edit value dialog driven through its real controls: the texts it
// shows, the ranges it accepts, and exactly which bytes of the page change.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "dialogs/dialogs.h"
#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "wintest.h"

using namespace wintest;

namespace {

// A push button's click as the dialog receives it.
void click(HWND dlg, int id)
{
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

class EditValueTest : public ::testing::Test {
protected:
    void open(int32_t size)
    {
        original = std::vector<unsigned char>(size);
        for (int32_t i = 0; i < size; ++i) original[i] = (unsigned char)(0xA0 + i);
        path = writeTempFile("editvalue.bin", original);
        openFile(path.c_str());
        ASSERT_EQ(size, ed.fileSize);
        ASSERT_EQ(0, ed.pageBase);
        // Guard bytes past the end of the file: a write there is a fault.
        memset(ed.pageBuffer + size, 0xEE, 8);
    }
    void useFormat(uint8_t format, int32_t caret)
    {
        ed.viewFormat = format;
        computeRowLayout();
        ed.editMode = 1;
        ed.caretOffset = caret;
        ed.selStart = caret;
        ed.selLength = 16 / ed.unitsPerRow;
    }
    // Opens the dialog; the action runs inside its modal loop.
    void run(std::function<void(HWND)> action)
    {
        EXPECT_TRUE(runDialog(openEditValueDialog, action)) << "the dialog did not open";
        EXPECT_EQ(0, ed.dialogOpen);
    }
    std::vector<unsigned char> page(int32_t count) const
    {
        return std::vector<unsigned char>(ed.pageBuffer, ed.pageBuffer + count);
    }
    EditorSession session;
    std::vector<unsigned char> original;
    std::string path;
};

TEST_F(EditValueTest, ShowsTypeOldValueAndOffsetRange)
{
    open(7);
    const struct {
        uint8_t format;
        int32_t caret;
        const char *type, *old, *caption;
        int limit;
    } cases[] = {
        {0x11, 2, "Hexadecimal (8 bits)", "a2", "Offset (HEX): 2", 2},
        {0x18, 2, "Signed Decimal (8 bits)", " -94", "Offset (HEX): 2", 4},
        {0x00, 3, "Unsigned Decimal (8 bits)", "163", "Offset (DEC): 3", 3},
        {0x13, 2, "Hexadecimal (16 bits)", "a3a2", "Offset (HEX): 2 - 3", 4},
        {0x13, 6, "Hexadecimal (16 bits)", "00a6", "Offset (HEX): 6 - 6", 4},
        {0x0A, 2, "Signed Decimal (16 bits)", "-23646", "Offset (DEC): 2 - 3", 6},
        {0x15, 4, "Hexadecimal (32 bits)", "00a6a5a4", "Offset (HEX): 4 - 6", 8},
        {0x0C, 0, "Signed Decimal (32 bits)", "-1549622880", "Offset (DEC): 0 - 3", 11},
        {0x04, 4, "Unsigned Decimal (32 bits)", "  10921380", "Offset (DEC): 4 - 6", 10},
    };
    for (const auto &c : cases) {
        useFormat(c.format, c.caret);
        run([&](HWND dlg) {
            EXPECT_EQ(c.type, itemText(dlg, IDC_EDIT_TYPE));
            EXPECT_EQ(c.old, itemText(dlg, IDC_EDIT_OLD)) << c.type;
            EXPECT_EQ(c.caption, windowText(dlg));
            EXPECT_EQ(c.limit, (int)SendDlgItemMessageA(dlg, IDC_EDIT_FIELD, EM_GETLIMITTEXT, 0, 0));
            EXPECT_EQ(GetDlgItem(dlg, IDC_EDIT_FIELD), GetFocus());
            click(dlg, IDC_EDIT_CANCEL);
        });
    }
    EXPECT_EQ(0, ed.pageDirty);
    EXPECT_EQ(original, page(7));
}

TEST_F(EditValueTest, AcceptsInRangeAndRefusesOutOfRange)
{
    const int32_t size = 40;
    const struct {
        uint8_t format;
        int32_t caret;
        const char *typed;
        bool accepted;
        std::vector<unsigned char> bytes;   // the unit's bytes afterwards
    } cases[] = {
        {0x08, 8, "-128", true, {0x80}},
        {0x08, 8, "127", true, {0x7f}},
        {0x08, 8, "0x7f", true, {0x7f}},
        {0x08, 8, "-129", false, {0xa8}},
        {0x08, 8, "128", false, {0xa8}},
        {0x00, 8, "255", true, {0xff}},
        {0x00, 8, "256", false, {0xa8}},
        {0x11, 8, "3c", true, {0x3c}},
        {0x11, 8, "", false, {0xa8}},
        {0x02, 8, "65535", true, {0xff, 0xff}},
        {0x02, 8, "65536", false, {0xa8, 0xa9}},
        {0x0A, 8, "-32768", true, {0x00, 0x80}},
        {0x0A, 8, "-32769", false, {0xa8, 0xa9}},
        {0x13, 8, "1234", true, {0x34, 0x12}},
        {0x15, 8, "deadbeef", true, {0xef, 0xbe, 0xad, 0xde}},
        {0x04, 8, "4294967295", true, {0xff, 0xff, 0xff, 0xff}},
        {0x04, 8, "4294967296", false, {0xa8, 0xa9, 0xaa, 0xab}},
        {0x0C, 8, "-2147483648", true, {0x00, 0x00, 0x00, 0x80}},
        {0x0C, 8, "2147483648", false, {0xa8, 0xa9, 0xaa, 0xab}},
        {0x0C, 8, "-2147483649", false, {0xa8, 0xa9, 0xaa, 0xab}},
        {0x0C, 8, "junk", false, {0xa8, 0xa9, 0xaa, 0xab}},
    };
    for (const auto &c : cases) {
        open(size);
        useFormat(c.format, c.caret);
        ed.pageDirty = 0;
        clearSeenBoxes();
        bool stayedOpen = false;
        std::string afterRefusal;
        run([&](HWND dlg) {
            SetDlgItemTextA(dlg, IDC_EDIT_FIELD, c.typed);
            answerNextBox(IDOK);
            click(dlg, IDC_EDIT_OK);
            stayedOpen = IsWindowVisible(dlg) != FALSE;   // EndDialog hides it at once
            if (stayedOpen) {
                afterRefusal = itemText(dlg, IDC_EDIT_FIELD);
                click(dlg, IDC_EDIT_CANCEL);
            }
        });
        ASSERT_EQ(1u, seenBoxes().size() - 1) << c.typed;     // the dialog, then one box
        const SeenBox &box = seenBoxes()[1];
        if (c.accepted) {
            EXPECT_EQ("Value updated", box.text) << c.typed;
            EXPECT_EQ("", box.caption);
            EXPECT_FALSE(stayedOpen);
            EXPECT_EQ(1, ed.pageDirty);
        } else {
            EXPECT_EQ("Incorrect value", box.text) << c.typed;
            EXPECT_EQ("Error", box.caption);
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ(c.typed, afterRefusal);
            EXPECT_EQ(0, ed.pageDirty);
        }
        std::vector<unsigned char> expect = original;
        for (size_t k = 0; k < c.bytes.size(); ++k) expect[c.caret + k] = c.bytes[k];
        EXPECT_EQ(expect, page(size)) << c.typed;
        EXPECT_EQ(8, ed.caretOffset);
        EXPECT_EQ(8, ed.selStart);
    }
}

TEST_F(EditValueTest, UnitsReachingPastTheEndWriteOnlyTheirBytesInTheFile)
{
    const struct {
        int32_t size;
        uint8_t format;
        int32_t caret;
        const char *typed;
        const char *caption;
        std::vector<unsigned char> tail;    // the last bytes of the file, then 2 guard bytes
    } cases[] = {
        {7, 0x15, 4, "11223344", "Offset (HEX): 4 - 6", {0x44, 0x33, 0x22, 0xee, 0xee}},
        {6, 0x13, 4, "beef", "Offset (HEX): 4 - 5", {0xef, 0xbe, 0xee, 0xee}},
        {5, 0x13, 4, "beef", "Offset (HEX): 4 - 4", {0xef, 0xee, 0xee}},
        {5, 0x04, 4, "4294967295", "Offset (DEC): 4 - 4", {0xff, 0xee, 0xee}},
    };
    for (const auto &c : cases) {
        open(c.size);
        useFormat(c.format, c.caret);
        std::string caption;
        run([&](HWND dlg) {
            caption = windowText(dlg);
            SetDlgItemTextA(dlg, IDC_EDIT_FIELD, c.typed);
            // The session ends while "Value updated" is up: the value is saved.
            onNextBox([](HWND box) {
                answerNextBox(IDYES);
                SendMessageA(ed.mainWnd, WM_QUERYENDSESSION, 0, 0);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            });
            click(dlg, IDC_EDIT_OK);
        });
        EXPECT_EQ(c.caption, caption);
        int32_t first = c.caret;
        std::vector<unsigned char> tail(ed.pageBuffer + first, ed.pageBuffer + first + c.tail.size());
        EXPECT_EQ(c.tail, tail) << c.caption;
        EXPECT_EQ(0, memcmp(ed.pageBuffer, original.data(), first));

        // What reaches the disk keeps the file's length.
        EXPECT_EQ(0, ed.pageDirty);
        std::vector<unsigned char> disk = readFile(path);
        ASSERT_EQ((size_t)c.size, disk.size());
        EXPECT_EQ(0, memcmp(disk.data() + first, c.tail.data(), c.size - first));
    }
}

TEST_F(EditValueTest, CancelCloseBoxEnterAndEscChangeNothing)
{
    open(32);
    useFormat(0x13, 4);
    for (uint8_t dirty = 0; dirty <= 1; ++dirty) {
        ed.pageDirty = dirty;
        run([&](HWND dlg) {
            SetDlgItemTextA(dlg, IDC_EDIT_FIELD, "1");
            SendMessageA(dlg, WM_COMMAND, IDOK, 0);
            SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(IsWindowVisible(dlg)) << "Enter or Esc closed the dialog";
            click(dlg, IDC_EDIT_CANCEL);
        });
        EXPECT_EQ(dirty, ed.pageDirty);
        run([&](HWND dlg) {
            SetDlgItemTextA(dlg, IDC_EDIT_FIELD, "1");
            SendMessageA(dlg, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(dirty, ed.pageDirty);
    }
    EXPECT_EQ(original, page(32));
}

}  // namespace
