// Keyboard and mouse editing under the real windows: entering and leaving
// edit mode, typed digits and characters, clicks on every column in every
// format, double clicks and the keys that scroll.
#include <gtest/gtest.h>

#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "wintest.h"

using namespace wintest;

namespace {

const int CELL_W = 8, CELL_H = 16;

struct Format {
    uint8_t viewFormat;
    int32_t offsetChars, unitChars, unitsPerRow;
};
const Format hex8 = {0x11, 8, 2, 16};
const Format udec8 = {0x10, 8, 3, 16};
const Format udec16 = {0x12, 8, 5, 8};
const Format hex32 = {0x15, 8, 8, 4};
const Format sdec32DecOffsets = {0x0C, 10, 11, 4};

void useFormat(const Format &f, bool swap = false)
{
    ed.viewFormat = (uint8_t)(f.viewFormat | (swap ? 0x20 : 0));
    computeRowLayout();
    EXPECT_EQ(f.offsetChars, ed.offsetChars);
    EXPECT_EQ(f.unitChars, ed.unitChars);
    EXPECT_EQ(f.unitsPerRow, ed.unitsPerRow);
}

int32_t unitColumn(int32_t unit, int32_t character = 0)
{
    return ed.offsetChars + 2 + unit * (ed.unitChars + 1) + character;
}
int32_t textColumn(int32_t position)
{
    return ed.offsetChars + (ed.unitChars + 1) * ed.unitsPerRow + 3 + position;
}

LPARAM pointAt(int32_t column, int32_t row)
{
    return MAKELPARAM(column * CELL_W + 3, (row + 1) * CELL_H + 5);
}
void click(int32_t column, int32_t row) { SendMessageA(ed.hexViewWnd, WM_LBUTTONUP, 0, pointAt(column, row)); }
void doubleClick(int32_t column, int32_t row)
{
    click(column, row);
    SendMessageA(ed.hexViewWnd, WM_LBUTTONDBLCLK, 0, pointAt(column, row));
    click(column, row);
}
void rightClick() { SendMessageA(ed.hexViewWnd, WM_RBUTTONUP, 0, pointAt(20, 0)); }
void type(const char *text)
{
    for (const char *c = text; *c; ++c) SendMessageA(ed.mainWnd, WM_CHAR, (unsigned char)*c, 0);
}
void viewModeCommand() { SendMessageA(ed.mainWnd, WM_COMMAND, IDM_VIEWMODE, 0); }

// Edit value dialogs among the boxes seen: the EDITAR template is the one
// with the new-value field and its own Ok button.
int editValueDialogsSeen;
void expectEditValueDialog()
{
    onNextBox([](HWND box) {
        if (GetDlgItem(box, IDC_EDIT_FIELD) && GetDlgItem(box, IDC_EDIT_OK)) ++editValueDialogsSeen;
        EXPECT_EQ(1, ed.dialogOpen);
        PostMessageA(box, WM_CLOSE, 0, 0);
    });
}

// Takes a message posted by the handlers off the queue, if there is one.
bool takePosted(HWND wnd, UINT msg, MSG *out)
{
    return PeekMessageA(out, wnd, msg, msg, PM_REMOVE) != 0;
}

class Editing : public ::testing::Test {
protected:
    void open(const std::vector<unsigned char> &bytes, const char *name = "edit.bin")
    {
        original = bytes;
        path = writeTempFile(name, bytes);
        openFile(path.c_str());
        ASSERT_EQ((int32_t)bytes.size(), ed.fileSize);
        pump();
        // The cell is that of the fixed system font; the first paint measures
        // it and accepts clicks, which the cases here do not wait for.
        ed.charWidth = CELL_W;
        ed.charHeight = CELL_H;
        ed.fileJustOpened = 0;
        useFormat(hex8);
        editValueDialogsSeen = 0;
    }
    unsigned char at(int32_t offset) const { return ed.pageBuffer[offset - ed.pageBase]; }

    EditorSession session;
    std::vector<unsigned char> original;
    std::string path;
};

TEST_F(Editing, HexDigitsOverwriteTheHalvesOfAByte)
{
    open(std::vector<unsigned char>(64, 0xFF));
    viewModeCommand();
    ASSERT_EQ(1, ed.editMode);
    ASSERT_EQ(0, ed.caretOffset);

    click(unitColumn(5), 0);
    EXPECT_EQ(5, ed.caretOffset);
    EXPECT_EQ(0, ed.caretNibble);
    type("4");
    EXPECT_EQ(0x4F, at(5));
    EXPECT_EQ(5, ed.caretOffset);
    EXPECT_EQ(1, ed.caretNibble);
    EXPECT_EQ(1, ed.pageDirty);
    type("1");
    EXPECT_EQ(0x41, at(5));
    EXPECT_EQ(6, ed.caretOffset);
    EXPECT_EQ(0, ed.caretNibble);
    EXPECT_EQ(6, ed.selStart);
    EXPECT_EQ(1, ed.selLength);

    type("g x-");                       // not hexadecimal digits
    EXPECT_EQ(0xFF, at(6));
    EXPECT_EQ(6, ed.caretOffset);
    EXPECT_EQ(0, ed.caretNibble);

    click(unitColumn(5, 1), 0);         // the second digit
    EXPECT_EQ(5, ed.caretOffset);
    EXPECT_EQ(1, ed.caretNibble);
    type("c");
    EXPECT_EQ(0x4C, at(5));
    EXPECT_EQ(6, ed.caretOffset);
    type("aB");
    EXPECT_EQ(0xAB, at(6));
    for (int i = 0; i < 64; ++i) {
        if (i != 5 && i != 6) {
            EXPECT_EQ(0xFF, at(i)) << i;
        }
    }
}

TEST_F(Editing, TextColumnTakesAnyCharacterAndLeavesTheFileAtItsEnd)
{
    open(patternBytes(20));
    viewModeCommand();
    click(textColumn(1), 0);
    EXPECT_EQ(2, ed.editMode);
    EXPECT_EQ(1, ed.caretOffset);
    type("\b\t");
    EXPECT_EQ(0x08, at(1));
    EXPECT_EQ(0x09, at(2));
    EXPECT_EQ(3, ed.caretOffset);

    click(textColumn(3), 1);            // offset 19, the last byte
    ASSERT_EQ(19, ed.caretOffset);
    type("A");
    EXPECT_EQ(0x41, at(19));
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(2, ed.editMode);
    type("B");                          // no caret: nothing is written
    EXPECT_EQ(original[18], at(18));
}

TEST_F(Editing, SwappedTextIsTypedInDisplayOrder)
{
    open(std::vector<unsigned char>(32, '.'));
    useFormat(hex8, true);
    viewModeCommand();
    click(textColumn(0), 0);            // display position 0 shows byte 1
    ASSERT_EQ(1, ed.caretOffset);
    type("wxyz");
    EXPECT_EQ(std::string("xwzy...."), std::string((const char *)ed.pageBuffer, 8));
    EXPECT_EQ(5, ed.caretOffset);
}

struct ClickCase {
    const char *name;
    Format format;
    bool editing;
    int32_t column, row;
    int32_t selStart, selLength, caretOffset;
    int editMode;
};

TEST_F(Editing, ClicksInEachColumnAndFormat)
{
    open(patternBytes(40));
    const ClickCase cases[] = {
        {"view, 8-bit hex unit", hex8, false, 10 + 3 * 3, 1, 19, 1, -1, 0},
        {"view, 8-bit decimal unit", udec8, false, 10 + 4 * 4 + 2, 0, 4, 1, -1, 0},
        {"view, 16-bit unit", udec16, false, 10 + 6 * 1 + 4, 0, 2, 2, -1, 0},
        {"view, 32-bit unit", hex32, false, 10 + 9 * 3, 1, 28, 4, -1, 0},
        {"view, text column", hex8, false, 59 + 7, 1, 23, 1, -1, 0},
        {"edit, 8-bit hex unit", hex8, true, 10 + 3 * 3, 1, 19, 1, 19, 1},
        {"edit, 16-bit unit", udec16, true, 10 + 6 * 1 + 4, 0, 2, 2, 2, 1},
        {"edit, 32-bit unit, decimal offsets", sdec32DecOffsets, true, 12 + 12 * 2, 0, 8, 4, 8, 1},
        {"edit, text column in 32-bit units", hex32, true, 8 + 36 + 3 + 15, 0, 15, 1, 15, 2},
        {"edit, text column, decimal offsets", sdec32DecOffsets, true, 10 + 48 + 3, 2, 32, 1, 32, 2},
    };
    for (const ClickCase &c : cases) {
        useFormat(c.format);
        ed.editMode = c.editing ? 1 : 0;
        ed.caretOffset = c.editing ? 0 : -1;
        ed.selStart = 0;
        ed.selLength = 0;
        click(c.column, c.row);
        EXPECT_EQ(c.selStart, ed.selStart) << c.name;
        EXPECT_EQ(c.selLength, ed.selLength) << c.name;
        EXPECT_EQ(c.caretOffset, ed.caretOffset) << c.name;
        EXPECT_EQ(c.editMode, ed.editMode) << c.name;
    }
    EXPECT_TRUE(seenBoxes().empty());
}

TEST_F(Editing, ClicksOnNothingChangeNothing)
{
    open(patternBytes(20));
    const struct { const char *name; Format format; int32_t column, row; } cases[] = {
        {"blank after the offset", hex8, 8, 0},
        {"blank in front of a unit", hex8, 12, 0},
        {"unit past the end of the last row", hex8, 10 + 3 * 4, 1},
        {"16-bit unit past the end", udec16, 10 + 6 * 2, 1},
        {"text past the end", hex8, 59 + 4, 1},
        {"header line over the units", hex8, 10, -1},
        {"header line over the text", hex8, 60, -1},
        {"right of the row", hex8, 75, 0},
        {"row below the file", hex8, 10, 5},
    };
    for (bool editing : {false, true}) {
        for (const auto &c : cases) {
            useFormat(c.format);
            ed.editMode = editing ? 2 : 0;
            ed.caretOffset = editing ? 3 : -1;
            ed.selStart = 3;
            ed.selLength = 1;
            click(c.column, c.row);
            EXPECT_EQ(3, ed.selStart) << c.name;
            EXPECT_EQ(editing ? 3 : -1, ed.caretOffset) << c.name;
            EXPECT_EQ(editing ? 2 : 0, ed.editMode) << c.name;
        }
    }
    // During a search the view shows the search's window: no click counts.
    ed.searching = 1;
    for (int32_t column : {unitColumn(1), textColumn(2), 2}) click(column, 1);
    ed.searching = 0;
    EXPECT_EQ(3, ed.selStart);
    MSG msg;
    EXPECT_FALSE(takePosted(ed.mainWnd, WM_COMMAND, &msg));
}

TEST_F(Editing, OffsetColumnAsksForGoToWithTheRowsOffset)
{
    open(patternBytes(100));
    const struct { Format format; bool editing; int32_t column, row, topRow, target; } cases[] = {
        {hex8, false, 0, 3, 0, 48},
        {hex8, true, 7, 3, 0, 48},
        {hex8, false, 3, -1, 0, 0},         // the header line
        {hex8, false, 3, 0, 2, 32},
        {hex8, false, 3, 5, 2, 0},          // a row past the end
        {sdec32DecOffsets, false, 9, 1, 0, 16},
    };
    for (const auto &c : cases) {
        useFormat(c.format);
        ed.editMode = c.editing;
        ed.caretOffset = c.editing ? 7 : -1;
        ed.topRow = c.topRow;
        click(c.column, c.row);
        MSG msg;
        ASSERT_TRUE(takePosted(ed.mainWnd, WM_COMMAND, &msg)) << c.row;
        EXPECT_EQ(IDM_GOTO, LOWORD(msg.wParam));
        EXPECT_EQ(c.target, (int32_t)msg.lParam) << c.row << " " << c.topRow;
        EXPECT_EQ(c.editing ? 7 : -1, ed.caretOffset);
    }
    ed.topRow = 0;

    // Delivered, the command opens the Go to dialog proposing the offset.
    bool dialogOpenSeen = false;
    onNextBox([&](HWND box) {
        dialogOpenSeen = ed.dialogOpen == 1;
        PostMessageA(box, WM_CLOSE, 0, 0);
    });
    click(2, 3);
    waitFor([] { return !seenBoxes().empty() && ed.dialogOpen == 0; });
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_TRUE(dialogOpenSeen);
    EXPECT_EQ(48, ed.goToInitial);
}

TEST_F(Editing, DoubleClickOpensTheEditValueDialogOnceWhileEditing)
{
    open(patternBytes(64));
    doubleClick(unitColumn(2), 0);      // view mode: only highlights
    pump();
    EXPECT_EQ(0, editValueDialogsSeen);
    EXPECT_TRUE(seenBoxes().empty());
    EXPECT_EQ(2, ed.selStart);
    EXPECT_EQ(0, ed.dblClickPending);

    viewModeCommand();
    expectEditValueDialog();
    doubleClick(unitColumn(4), 1);
    pump();
    EXPECT_EQ(1, editValueDialogsSeen);
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(20, ed.caretOffset);
    EXPECT_EQ(0, ed.dblClickPending);
    EXPECT_EQ(0, ed.dialogOpen);

    // The text column never opens it; the pending double click is dropped.
    doubleClick(textColumn(4), 1);
    click(unitColumn(1), 0);
    pump();
    EXPECT_EQ(1, editValueDialogsSeen);
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(1, ed.caretOffset);
}

TEST_F(Editing, OtherFormatsAreEditedInTheEditValueDialog)
{
    open(patternBytes(64));
    useFormat(udec16);
    viewModeCommand();
    click(unitColumn(1, 4), 0);         // the second unit's last character
    EXPECT_EQ(2, ed.caretOffset);
    EXPECT_EQ(2, ed.selStart);
    EXPECT_EQ(2, ed.selLength);
    expectEditValueDialog();
    type("7");
    pump();
    EXPECT_EQ(1, editValueDialogsSeen);
    EXPECT_EQ(0, memcmp(ed.pageBuffer, original.data(), 64));    // the key itself is not stored
    EXPECT_EQ(0, ed.pageDirty);

    // A caret left inside a unit: the dialog names, shows and writes that unit.
    ed.caretOffset = 5;
    std::string caption;
    int old = -1;
    onNextBox([&](HWND dlg) {
        caption = windowText(dlg);
        old = (int)GetDlgItemInt(dlg, IDC_EDIT_OLD, NULL, FALSE);
        SetDlgItemTextA(dlg, IDC_EDIT_FIELD, "258");
        answerNextBox(IDOK);
        SendMessageA(dlg, WM_COMMAND, IDC_EDIT_OK, 0);
    });
    type("7");
    EXPECT_EQ("Offset (HEX): 4 - 5", caption);
    EXPECT_EQ(original[4] | original[5] << 8, old);
    EXPECT_EQ(0x02, at(4));
    EXPECT_EQ(0x01, at(5));
}

TEST_F(Editing, MovementKeysScrollOnlyWithoutACaretInTheData)
{
    open(patternBytes(5000));
    const struct { int key; UINT msg; int request; } keys[] = {
        {VK_DOWN, WM_VSCROLL, SB_LINEDOWN},  {VK_UP, WM_VSCROLL, SB_LINEUP},
        {VK_NEXT, WM_VSCROLL, SB_PAGEDOWN},  {VK_PRIOR, WM_VSCROLL, SB_PAGEUP},
        {VK_END, WM_VSCROLL, SB_BOTTOM},     {VK_HOME, WM_VSCROLL, SB_TOP},
        {VK_RIGHT, WM_HSCROLL, SB_LINERIGHT}, {VK_LEFT, WM_HSCROLL, SB_LINELEFT},
    };
    auto posted = [](int key, UINT *msg, int *request) {
        SendMessageA(ed.mainWnd, WM_KEYDOWN, key, 0);
        MSG m;
        if (!PeekMessageA(&m, ed.hexViewWnd, WM_HSCROLL, WM_VSCROLL, PM_REMOVE)) return false;
        *msg = m.message;
        *request = (int)m.wParam;
        return m.lParam == 0;
    };
    for (const char *phase : {"view mode", "caret in the data", "after a right click"}) {
        if (strcmp(phase, "caret in the data") == 0) viewModeCommand();
        if (strcmp(phase, "after a right click") == 0) rightClick();
        bool caret = strcmp(phase, "caret in the data") == 0;
        for (const auto &k : keys) {
            UINT msg = 0;
            int request = -1;
            bool got = posted(k.key, &msg, &request);
            EXPECT_EQ(!caret, got) << phase << " key " << k.key;
            if (got && !caret) {
                EXPECT_EQ(k.msg, msg) << phase << " key " << k.key;
                EXPECT_EQ(k.request, request) << phase << " key " << k.key;
            }
        }
    }
    EXPECT_EQ(1, ed.editMode);
    EXPECT_EQ(-1, ed.caretOffset);
}

TEST_F(Editing, F3AndEscPostTheirCommandsOnlyWhenTheSearchAllows)
{
    open(patternBytes(100));
    const struct { int key; uint8_t findNextReady, searching; int command; } cases[] = {
        {VK_F3, 0, 0, 0}, {VK_F3, 1, 0, IDM_FINDNEXT},
        {VK_ESCAPE, 0, 0, 0}, {VK_ESCAPE, 0, 1, IDM_STOPSEARCH},
    };
    for (const auto &c : cases) {
        ed.findNextReady = c.findNextReady;
        ed.searching = c.searching;
        SendMessageA(ed.mainWnd, WM_KEYDOWN, c.key, 0);
        ed.findNextReady = ed.searching = 0;
        MSG msg;
        bool got = takePosted(ed.mainWnd, WM_COMMAND, &msg);
        EXPECT_EQ(c.command != 0, got) << c.key;
        if (got) {
            EXPECT_EQ(c.command, (int)LOWORD(msg.wParam));
        }
    }
}

TEST_F(Editing, EnteringEditModeNeedsAWritableNonEmptyFileAndNoSearch)
{
    std::string readOnly = writeTempFile("ro.bin", patternBytes(50));
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    openFile(readOnly.c_str());
    ASSERT_EQ(1, ed.readOnly);
    answerNextBox(IDOK);
    viewModeCommand();
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Error: The file is read only", seenBoxes()[0].text);
    EXPECT_EQ(appCaption, seenBoxes()[0].caption);
    EXPECT_EQ(0, ed.editMode);
    EXPECT_EQ(-1, ed.caretOffset);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    clearSeenBoxes();
    openFile(writeTempFile("empty.bin", {}).c_str());
    viewModeCommand();
    EXPECT_EQ(0, ed.editMode);
    openFile("");
    viewModeCommand();
    EXPECT_EQ(0, ed.editMode);

    open(patternBytes(50));
    ed.searching = 1;
    viewModeCommand();
    EXPECT_EQ(0, ed.editMode);
    ed.searching = 0;
    viewModeCommand();
    EXPECT_EQ(1, ed.editMode);
    ed.searching = 1;
    viewModeCommand();                  // nor is it left during a search
    EXPECT_EQ(1, ed.editMode);
    ed.searching = 0;
    EXPECT_TRUE(seenBoxes().empty());
}

HBITMAP modeBitmap()
{
    MENUITEMINFOA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    if (!GetMenuItemInfoA(ed.menu, IDM_VIEWMODE, FALSE, &info) || !(info.fType & MFT_BITMAP)) return NULL;
    return (HBITMAP)info.dwTypeData;
}

TEST_F(Editing, LeavingEditModeOffersTheChangesAndShowsTheModePicture)
{
    open(patternBytes(100));
    ASSERT_NE((HBITMAP)NULL, ed.viewBitmap);
    ASSERT_NE((HBITMAP)NULL, ed.editBitmap);
    EXPECT_EQ(ed.viewBitmap, modeBitmap());
    viewModeCommand();
    EXPECT_EQ(ed.editBitmap, modeBitmap());
    click(unitColumn(9), 2);
    type("00");

    answerNextBox(IDYES);
    viewModeCommand();
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Do you want to save the changes?", seenBoxes()[0].text);
    EXPECT_EQ(0, ed.editMode);
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(ed.viewBitmap, modeBitmap());

    closeFile();
    std::vector<unsigned char> expected = original;
    expected[41] = 0;
    EXPECT_EQ(expected, readFile(path));
}

TEST_F(Editing, EditingStartsInsideTheFileWhenTheWindowStartsPastItsEnd)
{
    open(patternBytes(100));
    // The window past the last byte, the view on the last row: its first byte.
    loadPage(112);
    ed.topRow = 6;
    viewModeCommand();
    ASSERT_EQ(1, ed.editMode);
    EXPECT_EQ(96, ed.caretOffset);
    EXPECT_TRUE(pageHolds(96, 99));
    click(unitColumn(3), 0);
    type("12");
    EXPECT_EQ(0x12, at(99));
    EXPECT_EQ(-1, ed.caretOffset);      // advanced past the end

    answerNextBox(IDYES);
    viewModeCommand();
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(0, unansweredBoxes());    // no write error
    closeFile();
    std::vector<unsigned char> expected = original;
    expected[99] = 0x12;
    EXPECT_EQ(expected, readFile(path));

    // Window past the end, view inside the file: the first displayed byte.
    open(patternBytes(100), "edit2.bin");
    loadPage(112);
    ed.topRow = 3;
    viewModeCommand();
    EXPECT_EQ(48, ed.caretOffset);
    EXPECT_TRUE(pageHolds(48, 48));

    // A window that starts inside a 16-bit unit: the caret on its first byte.
    open(patternBytes(100), "edit3.bin");
    useFormat(udec16);
    loadPage(0x21);
    viewModeCommand();
    EXPECT_EQ(0x21, ed.caretOffset);
}

TEST_F(Editing, TypingBringsTheCaretsByteIntoTheWindow)
{
    open(patternBytes(40000));
    viewModeCommand();
    click(unitColumn(5), 0);
    loadPage(16000);                    // the window moved before the paint
    ASSERT_FALSE(pageHolds(5, 5));
    type("7");
    ASSERT_TRUE(pageHolds(5, 5));
    EXPECT_EQ((original[5] & 0x0F) | 0x70, at(5));
    EXPECT_TRUE(seenBoxes().empty());
}

TEST_F(Editing, TypingOnTheLastShownRowScrollsOneRow)
{
    open(patternBytes(2000));
    sizeViewTo(10 * CELL_H);            // ten lines: the header and nine rows
    ed.topRowMax = 120;
    viewModeCommand();
    click(textColumn(14), 8);           // offset 142, on the last fully shown row
    type("a");
    EXPECT_EQ(143, ed.caretOffset);
    EXPECT_EQ(0, ed.topRow);
    type("b");                          // onto the row below: the view follows
    EXPECT_EQ(144, ed.caretOffset);
    EXPECT_EQ(1, ed.topRow);
    EXPECT_EQ(16, ed.topOffset);
    type("c");
    EXPECT_EQ(145, ed.caretOffset);
    EXPECT_EQ(1, ed.topRow);
    EXPECT_EQ(std::string("abc"), std::string((const char *)ed.pageBuffer + 142 - ed.pageBase, 3));
}

// The caret stands only on shown bytes: not above the view, not below it
// after a resize, and where the view shows half a row, for one byte after
// a click there.
TEST_F(Editing, TheCaretStaysOnShownRows)
{
    open(patternBytes(1600));
    for (int i = 0; i < 5; ++i) SendMessageA(ed.hexViewWnd, WM_VSCROLL, SB_LINEDOWN, 0);
    viewModeCommand();                  // the window's first byte lies above the view
    EXPECT_EQ(80, ed.caretOffset);
    click(unitColumn(2), 3);            // offset 130, on the fourth shown row
    sizeViewTo(5 * CELL_H);             // the header and four rows
    EXPECT_EQ(130, ed.caretOffset);
    sizeViewTo(4 * CELL_H);
    EXPECT_EQ(-1, ed.caretOffset);
    sizeViewTo(27);
    viewModeCommand();
    viewModeCommand();
    EXPECT_EQ(-1, ed.caretOffset);
    click(unitColumn(0), 0);
    type("1122");
    EXPECT_EQ(0x11, at(80));
    EXPECT_EQ(original[81], at(81));
    EXPECT_EQ(5, ed.topRow);

    // In a narrow window the horizontal scroll bar covers the row below
    // three whole ones: typing onto it scrolls the view.
    sizeViewTo(4 * CELL_H + GetSystemMetrics(SM_CYHSCROLL), 300);
    ASSERT_NE(0, ed.hScrollMax);
    click(unitColumn(0), 2);
    type("00112233445566778899aabbccddeeff");
    EXPECT_EQ(6, ed.topRow);
}

// A key changes a byte only once the view shows its unit: a caret placed
// out of sight sideways by edit mode, or scrolled out of it, is shown first.
TEST_F(Editing, TypingShowsTheCaretsUnitFirst)
{
    open(patternBytes(4096));
    sizeViewTo(20 * CELL_H, 250);       // 29 columns
    auto pageRight = [] { for (int i = 0; i < 3; ++i) SendMessageA(ed.hexViewWnd, WM_HSCROLL, SB_PAGERIGHT, 0); };
    pageRight();
    viewModeCommand();                  // the caret on unit 0, left of the view
    type("a");
    EXPECT_EQ(unitColumn(0), ed.hScrollPos);
    EXPECT_EQ((original[0] & 0x0F) | 0xA0, at(0));
    click(0, 6);                        // unit 0 of row 6, then out of sight
    pageRight();
    ASSERT_EQ(40, ed.hScrollPos);
    type("5a");
    EXPECT_EQ(unitColumn(0), GetScrollPos(ed.hexViewWnd, SB_HORZ));
    EXPECT_EQ(0x5a, at(0x60));
    // A byte of the text column, right of the view; a key for Edit value.
    pageRight();
    click(textColumn(2) - ed.hScrollPos, 6);
    SendMessageA(ed.hexViewWnd, WM_HSCROLL, SB_LEFT, 0);
    type("x");
    EXPECT_EQ(textColumn(2) - 28, ed.hScrollPos);
    EXPECT_EQ('x', at(0x62));
    useFormat(udec16);
    click(unitColumn(4) - ed.hScrollPos, 6);
    SendMessageA(ed.hexViewWnd, WM_HSCROLL, SB_LEFT, 0);
    expectEditValueDialog();
    type("1");
    EXPECT_EQ(1, editValueDialogsSeen);
    EXPECT_EQ(unitColumn(4, 4) - 28, ed.hScrollPos);
}

TEST(EditingAfterOpen, ClicksCountOnceTheViewHasPaintedTheFile)
{
    EditorSession s;
    std::string empty = writeTempFile("empty.bin", {});
    std::string data = writeTempFile("data.bin", patternBytes(64));
    LPARAM firstByte = pointAt(10, 0);

    openFile(empty.c_str());
    pump();
    SendMessageA(ed.hexViewWnd, WM_LBUTTONUP, 0, firstByte);
    EXPECT_EQ(1, ed.fileJustOpened);
    EXPECT_EQ(0, ed.selLength);

    openFile(data.c_str());
    SendMessageA(ed.hexViewWnd, WM_LBUTTONUP, 0, firstByte);   // not painted yet
    EXPECT_EQ(0, ed.selLength);
    ASSERT_TRUE(waitFor([] { return ed.fileJustOpened == 0; }));
    ASSERT_EQ(CELL_W, ed.charWidth);
    ASSERT_EQ(CELL_H, ed.charHeight);
    SendMessageA(ed.hexViewWnd, WM_LBUTTONUP, 0, firstByte);
    EXPECT_EQ(0, ed.selStart);
    EXPECT_EQ(1, ed.selLength);
}

TEST(EditingAfterOpen, StartedWithAFileEditModeHasACaret)
{
    // The window takes the focus as it is shown, before the first paint
    // has measured the cell.
    std::string data = writeTempFile("start.bin", patternBytes(64));
    EditorSession s(("\"" + data + "\"").c_str());
    ASSERT_TRUE(waitFor([] { return ed.fileJustOpened == 0; }));
    ASSERT_EQ(ed.mainWnd, GetFocus());
    // No caret in view mode: the view's top-left corner keeps its background.
    HDC dc = GetDC(ed.hexViewWnd);
    EXPECT_FALSE(waitFor([dc] { return GetPixel(dc, 1, 0) != ed.backColor; }, 2 * GetCaretBlinkTime() + 100));
    ReleaseDC(ed.hexViewWnd, dc);
    viewModeCommand();
    pump();
    GUITHREADINFO info;
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &info));
    EXPECT_EQ(ed.hexViewWnd, info.hwndCaret);
    EXPECT_EQ(0, ed.caretOffset);
}

TEST_F(Editing, ClicksWaitForTheFirstPaintAndRightClickDropsTheCaret)
{
    open(patternBytes(64));
    viewModeCommand();
    click(unitColumn(3), 1);
    ASSERT_EQ(19, ed.caretOffset);

    ed.fileJustOpened = 1;
    click(unitColumn(5), 0);
    SendMessageA(ed.hexViewWnd, WM_LBUTTONDBLCLK, 0, pointAt(unitColumn(5), 0));
    rightClick();
    EXPECT_EQ(19, ed.caretOffset);
    EXPECT_EQ(0, ed.dblClickPending);
    ed.fileJustOpened = 0;

    rightClick();
    EXPECT_EQ(-1, ed.caretOffset);
    EXPECT_EQ(0, ed.selLength);
    EXPECT_EQ(1, ed.editMode);
    type("5");
    EXPECT_EQ(0, ed.pageDirty);
}

}  // namespace
