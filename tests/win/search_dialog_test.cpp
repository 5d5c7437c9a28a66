// The real Search dialog, opened by the Find command and driven as a user
// would: characters typed into its edit controls, buttons clicked.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "document/editor_state.h"
#include "search/search.h"
#include "wintest.h"

using namespace wintest;

namespace {

typedef std::vector<unsigned char> Bytes;

HWND item(HWND dlg, int id) { return GetDlgItem(dlg, id); }
std::string field(HWND dlg, int id) { return windowText(item(dlg, id)); }
bool checked(HWND dlg, int id) { return SendMessageA(item(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool enabled(HWND dlg, int id) { return IsWindowEnabled(item(dlg, id)) != FALSE; }
void click(HWND dlg, int id) { SendMessageA(item(dlg, id), BM_CLICK, 0, 0); }
Bytes pattern() { return Bytes(ed.pattern, ed.pattern + ed.patternLength); }

// Typing: each character goes to the edit control as the keyboard would
// deliver it, and the control tells the dialog of the change.
void type(HWND dlg, int id, const std::string &text)
{
    for (unsigned char c : text) SendMessageA(item(dlg, id), WM_CHAR, c, 1);
}

void caretAt(HWND dlg, int id, int at) { SendMessageA(item(dlg, id), EM_SETSEL, at, at); }

void setNumber(HWND dlg, const char *text) { SetWindowTextA(item(dlg, IDC_SRCH_NUMBER), text); }

// Opens the dialog with the Find command and runs the steps inside it;
// the steps end it themselves (or it is closed afterwards).
void withDialog(const std::function<void(HWND)> &steps)
{
    EXPECT_TRUE(runDialog([] { SendMessageA(ed.mainWnd, WM_COMMAND, IDM_FIND, 0); }, steps));
    EXPECT_EQ(0, ed.dialogOpen);
}

class SearchDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session.started()); }
    EditorSession session;
};

TEST_F(SearchDialog, OpensEmptyInHexModeWithTheViewFormat)
{
    withDialog([](HWND dlg) {
        EXPECT_EQ("Search", windowText(dlg));
        EXPECT_EQ("", field(dlg, IDC_SRCH_HEXFIELD));
        EXPECT_EQ("", field(dlg, IDC_SRCH_TEXTFIELD));
        EXPECT_TRUE(checked(dlg, IDC_SRCH_HEXMODE));
        EXPECT_FALSE(checked(dlg, IDC_SRCH_TEXTMODE));
        EXPECT_FALSE(checked(dlg, IDC_SRCH_MATCHCASE));
        EXPECT_FALSE(enabled(dlg, IDC_SRCH_MATCHCASE));
        EXPECT_FALSE(enabled(dlg, IDC_SRCH_TEXTFIELD));
        EXPECT_EQ(item(dlg, IDC_SRCH_HEXFIELD), GetFocus());
        for (int id = IDC_SRCH_8BIT; id <= IDC_SRCH_NUMGROUP; ++id)
            EXPECT_EQ(id != IDC_SRCH_SIGNED, enabled(dlg, id)) << id;
        EXPECT_TRUE(checked(dlg, IDC_SRCH_8BIT));
        EXPECT_TRUE(checked(dlg, IDC_SRCH_NUMHEX));
        EXPECT_FALSE(checked(dlg, IDC_SRCH_SIGNED));
        EXPECT_FALSE(enabled(dlg, IDC_SRCH_FINDNEXT));
    });
}

TEST_F(SearchDialog, HexFieldIsTidiedAndShownAsText)
{
    struct Case {
        const char *typed, *hex, *text;
    } cases[] = {
        {"4162", "41 62", "Ab"},
        {"123", "12 3", "\x12\x03"},
        {"1 ", "1 ", "\x01"},
        {"4x1-6 2", "41 6 2", "A\x06\x02"},
    };
    for (const Case &c : cases) {
        ed.patternLength = 0;
        withDialog([&](HWND dlg) {
            type(dlg, IDC_SRCH_HEXFIELD, c.typed);
            EXPECT_EQ(c.hex, field(dlg, IDC_SRCH_HEXFIELD)) << c.typed;
            EXPECT_EQ(c.text, field(dlg, IDC_SRCH_TEXTFIELD)) << c.typed;
        });
    }
    // Typing into the middle keeps the caret after the character typed.
    ed.patternLength = 0;
    withDialog([](HWND dlg) {
        type(dlg, IDC_SRCH_HEXFIELD, "4162");
        caretAt(dlg, IDC_SRCH_HEXFIELD, 2);
        type(dlg, IDC_SRCH_HEXFIELD, "7");
        EXPECT_EQ("41 7 62", field(dlg, IDC_SRCH_HEXFIELD));
        DWORD start = 0, end = 0;
        SendMessageA(item(dlg, IDC_SRCH_HEXFIELD), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(4u, end);
        EXPECT_EQ((Bytes{0x41, 0x07, 0x62}), pattern());
    });
}

TEST_F(SearchDialog, TextFieldEditsKeepMiddleDotBytes)
{
    ed.patternLength = 0;
    withDialog([](HWND dlg) {
        type(dlg, IDC_SRCH_HEXFIELD, "4162");
        click(dlg, IDC_SRCH_TEXTMODE);
        EXPECT_EQ(item(dlg, IDC_SRCH_TEXTFIELD), GetFocus());
        EXPECT_TRUE(enabled(dlg, IDC_SRCH_MATCHCASE));
        EXPECT_FALSE(enabled(dlg, IDC_SRCH_HEXFIELD));
        EXPECT_FALSE(enabled(dlg, IDC_SRCH_ADDVALUE));
        caretAt(dlg, IDC_SRCH_TEXTFIELD, 0);
        type(dlg, IDC_SRCH_TEXTFIELD, "x");
        EXPECT_EQ((Bytes{0x78, 0x41, 0x62}), pattern());
        EXPECT_EQ("78 41 62 ", field(dlg, IDC_SRCH_HEXFIELD));
    });
    EXPECT_EQ(1, ed.searchOptions & 0x01);     // the mode is kept though cancelled

    const unsigned char dots[] = {0x00, 0x09, 0x41};
    memcpy(ed.pattern, dots, 3);
    ed.patternLength = 3;
    withDialog([](HWND dlg) {
        EXPECT_EQ("\xb7\xb7" "A", field(dlg, IDC_SRCH_TEXTFIELD));
        EXPECT_EQ("00 09 41 ", field(dlg, IDC_SRCH_HEXFIELD));
        caretAt(dlg, IDC_SRCH_TEXTFIELD, 3);
        type(dlg, IDC_SRCH_TEXTFIELD, "\b");
        EXPECT_EQ((Bytes{0x00, 0x09}), pattern());
        EXPECT_EQ("00 09 ", field(dlg, IDC_SRCH_HEXFIELD));
        // A middle dot typed between them is the byte B7.
        caretAt(dlg, IDC_SRCH_TEXTFIELD, 1);
        type(dlg, IDC_SRCH_TEXTFIELD, "\xb7");
        EXPECT_EQ((Bytes{0x00, 0xB7, 0x09}), pattern());
        // Typing over a selection keeps the dots around it.
        SendMessageA(item(dlg, IDC_SRCH_TEXTFIELD), EM_SETSEL, 1, 2);
        type(dlg, IDC_SRCH_TEXTFIELD, "Q");
        EXPECT_EQ((Bytes{0x00, 'Q', 0x09}), pattern());
    });
}

TEST_F(SearchDialog, AddValueAppendsNumbersOrRefusesThem)
{
    struct Case {
        std::vector<int> clicks;   // format buttons, from the default 8-bit hexadecimal
        const char *number;
        const char *hex;            // nullptr: refused
    } cases[] = {
        {{IDC_SRCH_NUMHEX, IDC_SRCH_SIGNED}, "-1", "ff "},
        {{IDC_SRCH_NUMHEX, IDC_SRCH_SIGNED}, "128", nullptr},
        {{IDC_SRCH_NUMHEX, IDC_SRCH_SIGNED}, "65536", nullptr},
        {{IDC_SRCH_32BIT}, "1", "01 00 00 00 "},
        {{IDC_SRCH_16BIT, IDC_SRCH_NUMHEX}, "300", "2c 01 "},
        {{}, "zz", nullptr},
    };
    for (const Case &c : cases) {
        ed.patternLength = 0;
        clearSeenBoxes();
        withDialog([&](HWND dlg) {
            for (int id : c.clicks) click(dlg, id);
            setNumber(dlg, c.number);
            if (!c.hex) answerNextBox(IDOK);
            click(dlg, IDC_SRCH_ADDVALUE);
            EXPECT_EQ(c.hex ? c.hex : "", field(dlg, IDC_SRCH_HEXFIELD)) << c.number;
            EXPECT_EQ("", field(dlg, IDC_SRCH_NUMBER));
        });
        if (c.hex) {
            EXPECT_TRUE(seenBoxes().size() == 1) << c.number;   // the dialog only
        } else {
            ASSERT_EQ(2u, seenBoxes().size()) << c.number;
            EXPECT_EQ("Incorrect value", seenBoxes()[1].text);
            EXPECT_EQ("Error", seenBoxes()[1].caption);
            EXPECT_EQ(0, ed.patternLength);
        }
    }

    // The example: 41 then the unsigned 16-bit value 300.
    ed.patternLength = 0;
    ed.findNextReady = 1;
    withDialog([](HWND dlg) {
        type(dlg, IDC_SRCH_HEXFIELD, "41 ");
        ed.findNextReady = 1;
        EnableWindow(item(dlg, IDC_SRCH_FINDNEXT), TRUE);
        click(dlg, IDC_SRCH_16BIT);
        click(dlg, IDC_SRCH_NUMHEX);
        setNumber(dlg, "300");
        click(dlg, IDC_SRCH_ADDVALUE);
        EXPECT_EQ("41 2c 01 ", field(dlg, IDC_SRCH_HEXFIELD));
        EXPECT_EQ("A,\x01", field(dlg, IDC_SRCH_TEXTFIELD));
        EXPECT_TRUE(enabled(dlg, IDC_SRCH_FINDNEXT));    // adding is not an edit
    });
    EXPECT_EQ((Bytes{0x41, 0x2C, 0x01}), pattern());
    EXPECT_EQ(1, ed.findNextReady);
}

TEST_F(SearchDialog, NumberFieldLengthFollowsTheFormat)
{
    withDialog([](HWND dlg) {
        auto limit = [&] { return (int)SendMessageA(item(dlg, IDC_SRCH_NUMBER), EM_GETLIMITTEXT, 0, 0); };
        EXPECT_EQ(2, limit());
        click(dlg, IDC_SRCH_32BIT);
        EXPECT_EQ(8, limit());
        click(dlg, IDC_SRCH_NUMHEX);
        EXPECT_TRUE(enabled(dlg, IDC_SRCH_SIGNED));
        EXPECT_EQ(10, limit());
        click(dlg, IDC_SRCH_SIGNED);
        EXPECT_EQ(11, limit());
        setNumber(dlg, "12");
        click(dlg, IDC_SRCH_8BIT);
        EXPECT_EQ(4, limit());
        EXPECT_EQ("", field(dlg, IDC_SRCH_NUMBER));   // a format change empties it
    });
}

TEST_F(SearchDialog, EditingWithdrawsFindNext)
{
    for (int mode = 0; mode < 2; ++mode) {
        const unsigned char ab[] = {'a', 'b'};
        memcpy(ed.pattern, ab, 2);
        ed.patternLength = 2;
        ed.searchOptions = (uint8_t)mode;
        ed.findNextReady = 1;
        EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_ENABLED);
        withDialog([&](HWND dlg) {
            EXPECT_TRUE(enabled(dlg, IDC_SRCH_FINDNEXT));
            int id = mode ? IDC_SRCH_TEXTFIELD : IDC_SRCH_HEXFIELD;
            caretAt(dlg, id, 0);
            type(dlg, id, "c");
            EXPECT_FALSE(enabled(dlg, IDC_SRCH_FINDNEXT));
        });
        EXPECT_EQ(0, ed.findNextReady);
        EXPECT_TRUE(menuGrayed(IDM_FINDNEXT));
    }
}

TEST_F(SearchDialog, FindAndFindNextStoreTheChoices)
{
    // Cancel keeps the edits and the mode, and asks for no search.
    ed.patternLength = 0;
    ed.searchOptions = 0;
    withDialog([](HWND dlg) {
        type(dlg, IDC_SRCH_HEXFIELD, "7e");
        click(dlg, IDC_SRCH_TEXTMODE);
        click(dlg, IDC_SRCH_FROMSTART);
        click(dlg, IDC_SRCH_CANCEL);
    });
    EXPECT_EQ((Bytes{0x7E}), pattern());
    EXPECT_EQ(0x01, ed.searchOptions);
    EXPECT_EQ(0, ed.searchRequest);

    // An empty pattern stores neither a request nor the from-start box.
    ed.patternLength = 0;
    ed.searchOptions = 0;
    withDialog([](HWND dlg) {
        click(dlg, IDC_SRCH_FROMSTART);
        click(dlg, IDC_SRCH_FIND);
    });
    EXPECT_EQ(0, ed.searchRequest);
    EXPECT_EQ(0, ed.searchOptions & 0x02);

    withDialog([](HWND dlg) {
        type(dlg, IDC_SRCH_HEXFIELD, "61");
        click(dlg, IDC_SRCH_FROMSTART);
        click(dlg, IDC_SRCH_FIND);
    });
    EXPECT_EQ(1, ed.searchRequest);     // no file is open, so no search started
    EXPECT_EQ(0x02, ed.searchOptions & 0x02);
    EXPECT_EQ(0, ed.foldCase);           // a hexadecimal search never folds
    EXPECT_EQ(1, ed.ignoreCase);

    ed.findNextReady = 1;
    withDialog([](HWND dlg) {
        click(dlg, IDC_SRCH_TEXTMODE);
        EXPECT_TRUE(checked(dlg, IDC_SRCH_FROMSTART));
        click(dlg, IDC_SRCH_FROMSTART);
        click(dlg, IDC_SRCH_MATCHCASE);
        click(dlg, IDC_SRCH_FINDNEXT);
    });
    EXPECT_EQ(2, ed.searchRequest);
    EXPECT_EQ(0, ed.searchOptions & 0x02);
    EXPECT_EQ(0, ed.ignoreCase);
    EXPECT_EQ(0, ed.foldCase);

    withDialog([](HWND dlg) {
        EXPECT_TRUE(checked(dlg, IDC_SRCH_MATCHCASE));
        click(dlg, IDC_SRCH_MATCHCASE);
        click(dlg, IDC_SRCH_FIND);
    });
    EXPECT_EQ(1, ed.foldCase);
}

TEST_F(SearchDialog, LongPatternsStayConsistentInBothFields)
{
    // A text pattern of the largest size: its hexadecimal text is three
    // times as long, and "&Add value" then has no room.
    ed.patternLength = 0;
    ed.searchOptions = 0x01;
    withDialog([](HWND dlg) {
        type(dlg, IDC_SRCH_TEXTFIELD, std::string(300, 'k'));
        EXPECT_EQ(255u, field(dlg, IDC_SRCH_TEXTFIELD).size());
        EXPECT_EQ(255, ed.patternLength);
        std::string hex = field(dlg, IDC_SRCH_HEXFIELD);
        EXPECT_EQ(765u, hex.size());
        EXPECT_EQ("6b 6b ", hex.substr(759));
        click(dlg, IDC_SRCH_HEXMODE);
        setNumber(dlg, "1");
        click(dlg, IDC_SRCH_ADDVALUE);
        EXPECT_EQ(765u, field(dlg, IDC_SRCH_HEXFIELD).size());
        EXPECT_EQ(255, ed.patternLength);
    });
    // Typed into the hex field, groups past the largest pattern are dropped.
    ed.patternLength = 0;
    ed.searchOptions = 0;
    withDialog([](HWND dlg) {
        std::string digits;
        for (int i = 0; i < 270; ++i) digits += "a";
        type(dlg, IDC_SRCH_HEXFIELD, digits + digits);
        EXPECT_EQ(255, ed.patternLength);
        EXPECT_EQ(764u, field(dlg, IDC_SRCH_HEXFIELD).size());
        EXPECT_EQ(255u, field(dlg, IDC_SRCH_TEXTFIELD).size());
        // 254 bytes leave room for one more byte, not for two.
        caretAt(dlg, IDC_SRCH_HEXFIELD, 764);
        type(dlg, IDC_SRCH_HEXFIELD, "\b\b\b");
        EXPECT_EQ(254, ed.patternLength);
        click(dlg, IDC_SRCH_16BIT);
        setNumber(dlg, "1");
        click(dlg, IDC_SRCH_ADDVALUE);
        EXPECT_EQ(254, ed.patternLength);
        click(dlg, IDC_SRCH_8BIT);
        setNumber(dlg, "1");
        click(dlg, IDC_SRCH_ADDVALUE);
        EXPECT_EQ(255, ed.patternLength);
        EXPECT_EQ(0x01, ed.pattern[254]);
    });
}

}  // namespace
