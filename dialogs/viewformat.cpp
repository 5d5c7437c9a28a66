// The View Format dialog: the ViewFormat shown as radio buttons and a check
// box, stored again only when "&Ok" finds it changed.
#include <windows.h>

#include "dialogs/dialogs.h"
#include "dialogs/numbers.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "shell/statusbar.h"

namespace {

bool checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

// Signed and Unsigned mean something only for decimal values; their check
// marks stay either way.
void applyEnableRule(HWND dlg)
{
    BOOL decimal = checked(dlg, IDC_FMT_DEC);
    EnableWindow(GetDlgItem(dlg, IDC_FMT_SIGNED), decimal);
    EnableWindow(GetDlgItem(dlg, IDC_FMT_UNSIGNED), decimal);
}

void onInit(HWND dlg)
{
    uint8_t f = ed.viewFormat;
    CheckDlgButton(dlg, (f & VF_HEX_VALUES) ? IDC_FMT_HEX : IDC_FMT_DEC, BST_CHECKED);
    int size = (f & VF_UNIT_SIZE) == VF_UNIT_8    ? IDC_FMT_8BIT
               : (f & VF_UNIT_SIZE) == VF_UNIT_16 ? IDC_FMT_16BIT
                                                  : IDC_FMT_32BIT;
    CheckDlgButton(dlg, size, BST_CHECKED);
    CheckDlgButton(dlg, (f & VF_SIGNED) ? IDC_FMT_SIGNED : IDC_FMT_UNSIGNED, BST_CHECKED);
    CheckDlgButton(dlg, (f & VF_HEX_OFFSETS) ? IDC_FMT_OFS_HEX : IDC_FMT_OFS_DEC, BST_CHECKED);
    if (f & VF_SWAP_TEXT) CheckDlgButton(dlg, IDC_FMT_SWAP, BST_CHECKED);
    applyEnableRule(dlg);
    SetFocus(GetDlgItem(dlg, IDC_FMT_CANCEL));
}

void onOk(HWND dlg)
{
    uint8_t format = formatFromChecks(checked(dlg, IDC_FMT_HEX), checked(dlg, IDC_FMT_16BIT),
                                      checked(dlg, IDC_FMT_32BIT), checked(dlg, IDC_FMT_SIGNED),
                                      checked(dlg, IDC_FMT_OFS_HEX), checked(dlg, IDC_FMT_SWAP));
    if (format != ed.viewFormat) {
        ed.viewFormat = format;
        computeRowLayout();
        if (ed.editMode == MODE_VALUES) {
            // The highlight covers the whole unit of the new size.
            dropCaret();
            setHighlight(unitStart(ed.selStart), unitBytes());
        }
        // The offset in the status bar, in the radix now chosen.
        showOffsetInStatus();
        updateScrollRanges();
        invalidateView();
    }
    EndDialog(dlg, 1);
}

}  // namespace

INT_PTR CALLBACK formatDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        onInit(dlg);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dlg, 1);
        return FALSE;
    case WM_COMMAND:
        if (wParam == IDC_FMT_HEX || wParam == IDC_FMT_DEC) {
            applyEnableRule(dlg);
            return TRUE;
        }
        switch (LOWORD(wParam)) {
        case IDC_FMT_OK:
            onOk(dlg);
            return TRUE;
        case IDC_FMT_CANCEL:
            EndDialog(dlg, 1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
