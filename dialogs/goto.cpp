// The Go to offset dialog: one field, three radixes, and the jump that makes
// the target's row the top row of the view.
#include <windows.h>

#include "dialogs/dialogs.h"
#include "dialogs/numbers.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "shell/statusbar.h"

namespace {

// The field holds at most 19 characters of an offset.
const int GOTO_TEXT_CHARS = 20;

void parseGoToText(int32_t radix)
{
    ed.goToInitial = (int32_t)parseOffsetNumber(ed.goToText, radix);
}

void formatGoToText(int32_t radix)
{
    formatOffsetNumber(ed.goToText, GOTO_TEXT_CHARS, (uint32_t)ed.goToInitial, radix);
}

void checkRadixButton(HWND dlg, int id)
{
    for (int button = IDC_GOTO_HEX; button <= IDC_GOTO_OCT; ++button)
        SendDlgItemMessageA(dlg, button, BM_SETCHECK, button == id ? BST_CHECKED : BST_UNCHECKED, 0);
}

void readField(HWND dlg)
{
    SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, WM_GETTEXT, GOTO_TEXT_CHARS, (LPARAM)ed.goToText);
}

void onRadix(HWND dlg, int id)
{
    checkRadixButton(dlg, id);
    readField(dlg);
    parseGoToText(ed.goToRadix);            // read in the radix it was written in
    ed.goToRadix = id - IDC_GOTO_HEX;
    formatGoToText(ed.goToRadix);
    SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, WM_SETTEXT, 0, (LPARAM)ed.goToText);
}

// The field has several lines: a line break pasted into it, or typed with
// Ctrl+Enter, would scroll the number that is read out of sight behind the
// next line. Each break becomes a blank, where the number read ends, and the
// field keeps one line.
void keepOneLine(HWND dlg)
{
    char text[GOTO_TEXT_CHARS];
    GetDlgItemTextA(dlg, IDC_GOTO_FIELD, text, sizeof text);
    bool broken = false;
    for (char *c = text; *c; ++c) {
        if (*c != '\r' && *c != '\n') continue;
        *c = ' ';
        broken = true;
    }
    if (!broken) return;
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    SetDlgItemTextA(dlg, IDC_GOTO_FIELD, text);
    SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, EM_SETSEL, start, end);
}

void onOk(HWND dlg)
{
    readField(dlg);
    if (ed.fileSize <= 0) {
        EndDialog(dlg, 1);
        return;
    }
    parseGoToText(ed.goToRadix);
    ed.goToInitial = goToTarget((uint32_t)ed.goToInitial, ed.fileSize);

    if (ed.editMode != MODE_VIEW) {
        // The caret stays shown; the next paint puts it on the target.
        if (ed.caretOffset >= 0) {
            ed.caretOffset = ed.goToInitial;
            setHighlight(ed.caretOffset, 1);
            showOffsetInStatus();
        }
    } else {
        setHighlight(ed.goToInitial, 1);
        dropCaret();
        showOffsetInStatus();
    }

    ed.topRow = ed.goToInitial / 16;
    SetScrollPos(ed.hexViewWnd, SB_VERT, scrollPosOfRow(ed.topRow), TRUE);
    dropCaretOutOfView();       // a view that shows no whole row keeps none
    invalidateView();
    EndDialog(dlg, 1);
}

}  // namespace

INT_PTR CALLBACK goToDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        // The dialog starts in the radix in which the view shows offsets.
        if (ed.viewFormat & VF_HEX_OFFSETS) {
            checkRadixButton(dlg, IDC_GOTO_HEX);
            ed.goToRadix = RADIX_HEX;
        } else {
            checkRadixButton(dlg, IDC_GOTO_DEC);
            ed.goToRadix = RADIX_DEC;
        }
        // The field takes no more characters than are read back from it,
        // typed or pasted, so no digit the user sees is left unread. (Texts
        // set here are numbers of 32 bits: 11 characters at most.)
        SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, EM_LIMITTEXT, GOTO_TEXT_CHARS - 1, 0);
        formatGoToText(ed.goToRadix);
        SendDlgItemMessageA(dlg, IDC_GOTO_FIELD, WM_SETTEXT, 0, (LPARAM)ed.goToText);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dlg, 1);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_GOTO_HEX:
        case IDC_GOTO_DEC:
        case IDC_GOTO_OCT:
            onRadix(dlg, LOWORD(wParam));
            break;
        case IDC_GOTO_OK:
            onOk(dlg);
            break;
        case IDC_GOTO_CANCEL:
            EndDialog(dlg, 1);
            break;
        case IDC_GOTO_FIELD:
            if (HIWORD(wParam) == EN_CHANGE) keepOneLine(dlg);
            break;
        }
        return TRUE;
    }
    return FALSE;
}
