// The Search dialog: the pattern shown as text and as hexadecimal bytes,
// each field carried into the other as the user types, the numbers that
// can be appended in Hex mode, and the choice of Find or Find Next.
#include <windows.h>
#include <string.h>

#include "document/editor_state.h"
#include "hexview/rowtext.h"
#include "runtime/text.h"
#include "search/pattern.h"
#include "search/search.h"

static_assert((int)HEX_TEXT_CHARS == (int)PATTERN_HEX_CHARS, "hex text buffers hold a full pattern");
static_assert((int)PATTERN_CHARS >= (int)PATTERN_TEXT_CHARS, "text buffers hold a full pattern");

namespace {

// Set while the dialog itself sets a field's text, so that only the user's
// edits count as changes.
bool settingField;

void setField(HWND dlg, int id, const char *text)
{
    settingField = true;
    SendDlgItemMessageA(dlg, id, WM_SETTEXT, 0, (LPARAM)text);
    settingField = false;
}

void enableItem(HWND dlg, int id, BOOL on) { EnableWindow(GetDlgItem(dlg, id), on); }

void check(HWND dlg, int id, bool on)
{
    SendDlgItemMessageA(dlg, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool isChecked(HWND dlg, int id)
{
    return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int32_t caretOf(HWND dlg, int id)
{
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(dlg, id, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    return (int32_t)end;
}

void placeCaret(HWND dlg, int id, int32_t at)
{
    SendDlgItemMessageA(dlg, id, EM_SETSEL, at, at);
    SendDlgItemMessageA(dlg, id, EM_SCROLLCARET, 0, 0);
}

void showNumberGroup(HWND dlg, BOOL on)
{
    for (int id = IDC_SRCH_8BIT; id <= IDC_SRCH_NUMGROUP; ++id) enableItem(dlg, id, on);
}

void showTextMode(HWND dlg)
{
    check(dlg, IDC_SRCH_TEXTMODE, true);
    check(dlg, IDC_SRCH_HEXMODE, false);
    enableItem(dlg, IDC_SRCH_MATCHCASE, TRUE);
    enableItem(dlg, IDC_SRCH_HEXFIELD, FALSE);
    enableItem(dlg, IDC_SRCH_TEXTFIELD, TRUE);
    showNumberGroup(dlg, FALSE);
    SetFocus(GetDlgItem(dlg, IDC_SRCH_TEXTFIELD));
}

void showHexMode(HWND dlg)
{
    check(dlg, IDC_SRCH_HEXMODE, true);
    check(dlg, IDC_SRCH_TEXTMODE, false);
    enableItem(dlg, IDC_SRCH_MATCHCASE, FALSE);
    enableItem(dlg, IDC_SRCH_TEXTFIELD, FALSE);
    enableItem(dlg, IDC_SRCH_HEXFIELD, TRUE);
    showNumberGroup(dlg, TRUE);
    SetFocus(GetDlgItem(dlg, IDC_SRCH_HEXFIELD));
}

void showNumberFormat(HWND dlg, uint8_t format)
{
    check(dlg, IDC_SRCH_8BIT, false);
    check(dlg, IDC_SRCH_16BIT, false);
    check(dlg, IDC_SRCH_32BIT, false);
    uint8_t size = format & VF_UNIT_SIZE;
    check(dlg, size == VF_UNIT_8 ? IDC_SRCH_8BIT : size == VF_UNIT_16 ? IDC_SRCH_16BIT : IDC_SRCH_32BIT, true);
    check(dlg, IDC_SRCH_SIGNED, (format & VF_SIGNED) != 0);
    check(dlg, IDC_SRCH_NUMHEX, (format & VF_HEX_VALUES) != 0);
    bool hexMode = !(ed.searchOptions & SO_TEXT);
    enableItem(dlg, IDC_SRCH_SIGNED, hexMode && !(format & VF_HEX_VALUES));
    SendDlgItemMessageA(dlg, IDC_SRCH_NUMBER, EM_LIMITTEXT, numberFieldLimit(format), 0);
    setField(dlg, IDC_SRCH_NUMBER, "");
}

void refreshTextField(HWND dlg)
{
    patternToText(ed.patternText, sizeof ed.patternText, ed.pattern, ed.patternLength);
    setField(dlg, IDC_SRCH_TEXTFIELD, ed.patternText);
}

void refreshHexField(HWND dlg)
{
    bytesToHexText(ed.patternHex, sizeof ed.patternHex, ed.pattern, ed.patternLength);
    setField(dlg, IDC_SRCH_HEXFIELD, ed.patternHex);
}

void withdrawFindNext(HWND dlg)
{
    EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_GRAYED);
    ed.findNextReady = 0;
    enableItem(dlg, IDC_SRCH_FINDNEXT, FALSE);
}

void onTextFieldChange(HWND dlg)
{
    GetDlgItemTextA(dlg, IDC_SRCH_TEXTFIELD, ed.patternText, PATTERN_TEXT_CHARS);
    int32_t caret = caretOf(dlg, IDC_SRCH_TEXTFIELD);
    ed.patternLength = updatePatternFromText(ed.pattern, ed.patternLength, ed.patternText, caret);
    // A character the field cannot show as a byte of the pattern (a pasted
    // tab) is shown the way the pattern is.
    char shown[PATTERN_TEXT_CHARS];
    patternToText(shown, sizeof shown, ed.pattern, ed.patternLength);
    if (!sameText(shown, ed.patternText)) {
        copyText(ed.patternText, sizeof ed.patternText, shown);
        setField(dlg, IDC_SRCH_TEXTFIELD, ed.patternText);
        placeCaret(dlg, IDC_SRCH_TEXTFIELD, caret);
    }
    refreshHexField(dlg);
}

void normalizeHexField(HWND dlg)
{
    GetDlgItemTextA(dlg, IDC_SRCH_HEXFIELD, ed.hexInput, sizeof ed.hexInput);
    int32_t caret = caretOf(dlg, IDC_SRCH_HEXFIELD);
    int32_t newCaret = 0;
    normalizeHexText(ed.hexInput, caret, ed.patternHex, sizeof ed.patternHex, &newCaret);
    if (!sameText(ed.patternHex, ed.hexInput)) {
        setField(dlg, IDC_SRCH_HEXFIELD, ed.patternHex);
        placeCaret(dlg, IDC_SRCH_HEXFIELD, newCaret);
    }
    ed.patternLength = parseHexText(ed.pattern, MAX_PATTERN_BYTES, ed.patternHex);
    refreshTextField(dlg);
}

void addValue(HWND dlg)
{
    GetDlgItemTextA(dlg, IDC_SRCH_NUMBER, ed.textScratch, 50);
    int32_t count = 0;
    if (!convertNumber(ed.textScratch, ed.numberFormat, ed.numberBytes, &count)) {
        MessageBoxA(dlg, "Incorrect value", "Error", MB_OK);
        setField(dlg, IDC_SRCH_NUMBER, "");
        return;
    }
    GetDlgItemTextA(dlg, IDC_SRCH_HEXFIELD, ed.hexInput, sizeof ed.hexInput);
    char joined[HEX_TEXT_CHARS];
    if (appendBytesToHex(joined, sizeof joined, ed.hexInput, ed.numberBytes, count) < 0) {
        // The pattern is full: nothing is added.
        MessageBeep(MB_OK);
        return;
    }
    copyText(ed.hexInput, sizeof ed.hexInput, joined);
    setField(dlg, IDC_SRCH_HEXFIELD, ed.hexInput);
    ed.patternLength = parseHexText(ed.pattern, MAX_PATTERN_BYTES, ed.hexInput);
    refreshTextField(dlg);
    setField(dlg, IDC_SRCH_NUMBER, "");
}

void onInitDialog(HWND dlg)
{
    SendDlgItemMessageA(dlg, IDC_SRCH_TEXTFIELD, EM_LIMITTEXT, PATTERN_TEXT_CHARS - 1, 0);
    SendDlgItemMessageA(dlg, IDC_SRCH_HEXFIELD, EM_LIMITTEXT, HEX_TEXT_CHARS - 1, 0);
    check(dlg, IDC_SRCH_MATCHCASE, ed.ignoreCase == 0);
    if (ed.searchOptions & SO_TEXT) showTextMode(dlg);
    else showHexMode(dlg);
    check(dlg, IDC_SRCH_FROMSTART, (ed.searchOptions & SO_FROM_START) != 0);
    if (ed.patternLength > 0) {
        refreshTextField(dlg);
        refreshHexField(dlg);
    } else {
        setField(dlg, IDC_SRCH_TEXTFIELD, "");
        setField(dlg, IDC_SRCH_HEXFIELD, "");
    }
    enableItem(dlg, IDC_SRCH_FINDNEXT, ed.findNextReady == 1);
    ed.numberFormat = ed.viewFormat;
    showNumberFormat(dlg, ed.numberFormat);
}

void onFind(HWND dlg, int id)
{
    ed.ignoreCase = isChecked(dlg, IDC_SRCH_MATCHCASE) ? 0 : 1;
    applyCaseRule();
    if (ed.patternLength > 0) {
        ed.searchRequest = id == IDC_SRCH_FIND ? SEARCH_FIND : SEARCH_FIND_NEXT;
        if (isChecked(dlg, IDC_SRCH_FROMSTART)) ed.searchOptions |= SO_FROM_START;
        else ed.searchOptions &= (uint8_t)~SO_FROM_START;
    }
    EndDialog(dlg, 1);
}

BOOL onCommand(HWND dlg, int id, int code)
{
    switch (id) {
    case IDC_SRCH_TEXTFIELD:
    case IDC_SRCH_HEXFIELD:
        if (code == EN_CHANGE && !settingField) {
            withdrawFindNext(dlg);
            if (id == IDC_SRCH_TEXTFIELD) onTextFieldChange(dlg);
            else normalizeHexField(dlg);
        }
        return FALSE;
    case IDC_SRCH_HEXMODE:
        showHexMode(dlg);
        ed.searchOptions &= (uint8_t)~SO_TEXT;
        showNumberFormat(dlg, ed.numberFormat);
        return FALSE;
    case IDC_SRCH_TEXTMODE:
        showTextMode(dlg);
        ed.searchOptions |= SO_TEXT;
        showNumberFormat(dlg, ed.numberFormat);
        return FALSE;
    case IDC_SRCH_FIND:
    case IDC_SRCH_FINDNEXT:
        onFind(dlg, id);
        return TRUE;
    case IDC_SRCH_CANCEL:
        EndDialog(dlg, 1);
        return TRUE;
    case IDC_SRCH_8BIT:
    case IDC_SRCH_16BIT:
    case IDC_SRCH_32BIT:
        ed.numberFormat = (uint8_t)((ed.numberFormat & ~VF_UNIT_SIZE) | (2 * (id - IDC_SRCH_8BIT)));
        showNumberFormat(dlg, ed.numberFormat);
        return TRUE;
    case IDC_SRCH_SIGNED:
        ed.numberFormat = (uint8_t)(isChecked(dlg, id) ? ed.numberFormat | VF_SIGNED
                                                       : ed.numberFormat & ~VF_SIGNED);
        showNumberFormat(dlg, ed.numberFormat);
        return TRUE;
    case IDC_SRCH_NUMHEX:
        ed.numberFormat = (uint8_t)(isChecked(dlg, id) ? ed.numberFormat | VF_HEX_VALUES
                                                       : ed.numberFormat & ~VF_HEX_VALUES);
        showNumberFormat(dlg, ed.numberFormat);
        return TRUE;
    case IDC_SRCH_ADDVALUE:
        addValue(dlg);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void applyCaseRule()
{
    ed.foldCase = (ed.searchOptions & SO_TEXT) ? ed.ignoreCase : 0;
}

INT_PTR CALLBACK searchDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        onInitDialog(dlg);
        return FALSE;
    case WM_CLOSE:
        EndDialog(dlg, 1);
        return FALSE;
    case WM_COMMAND:
        return onCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    }
    return FALSE;
}
