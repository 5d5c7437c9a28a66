// The Edit value dialog: the unit at the caret replaced by a number typed in
// the current format, written into the page buffer little-endian.
#include <windows.h>

#include "dialogs/dialogs.h"
#include "dialogs/numbers.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"

namespace {

// The unit's bytes past the end of the file, counted once when the dialog
// opens; both the old value and the write use it.
int8_t unitMissing;

// The field is read with at most 49 characters.
const int VALUE_TEXT_CHARS = 50;

void onInit(HWND dlg)
{
    char text[64];
    unitTypeText(text, sizeof text, ed.viewFormat);
    SetDlgItemTextA(dlg, IDC_EDIT_TYPE, text);

    unitMissing = missingBytes(ed.caretOffset, ed.fileSize);
    formatUnitValue(unitMissing);
    SetDlgItemTextA(dlg, IDC_EDIT_OLD, ed.textScratch);

    SendDlgItemMessageA(dlg, IDC_EDIT_FIELD, EM_LIMITTEXT, ed.unitChars, 0);
    SetFocus(GetDlgItem(dlg, IDC_EDIT_CANCEL));

    editValueCaption(text, sizeof text, (ed.viewFormat & VF_HEX_OFFSETS) != 0, ed.caretOffset, unitBytes(),
                     ed.fileSize);
    SetWindowTextA(dlg, text);
}

void finish(HWND dlg)
{
    InvalidateRect(ed.mainWnd, NULL, TRUE);
    EndDialog(dlg, 1);
}

void onOk(HWND dlg)
{
    SendDlgItemMessageA(dlg, IDC_EDIT_FIELD, WM_GETTEXT, VALUE_TEXT_CHARS, (LPARAM)ed.textScratch);
    uint32_t value;
    if (!parseUnitValue(ed.textScratch, (ed.viewFormat & VF_HEX_VALUES) != 0,
                        (ed.viewFormat & VF_SIGNED) != 0, unitBytes(), &value)) {
        MessageBoxA(dlg, "Incorrect value", "Error", MB_OK);
        return;
    }
    int32_t index = ed.caretOffset - ed.pageBase;
    if (index >= 0 && index < PAGE_SIZE) {
        // Never past the page buffer, whatever the unit's size.
        int32_t room = PAGE_SIZE - index;
        int32_t bytes = unitBytes() < room ? unitBytes() : room;
        storeUnitValue(ed.pageBuffer + index, value, bytes, unitMissing);
        // Marked at once: the end of the session while "Value updated" is up
        // then offers the value for saving.
        ed.pageDirty = 1;
    }
    MessageBoxA(dlg, "Value updated", "", MB_OK);
    finish(dlg);
}

}  // namespace

INT_PTR CALLBACK editValueDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        onInit(dlg);
        return TRUE;
    case WM_CLOSE:
        finish(dlg);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_EDIT_OK:
            onOk(dlg);
            return TRUE;
        case IDC_EDIT_CANCEL:
            finish(dlg);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void openEditValueDialog()
{
    runModalDialog("Editar", editValueDialogProc);
}
