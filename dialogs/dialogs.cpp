#include "dialogs/dialogs.h"
#include "document/editor_state.h"

static INT_PTR closeOnly(HWND dlg, UINT msg)
{
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_CLOSE) { EndDialog(dlg, 1); }
    return FALSE;
}
INT_PTR CALLBACK goToDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM) { return closeOnly(dlg, msg); }
INT_PTR CALLBACK formatDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM) { return closeOnly(dlg, msg); }
INT_PTR CALLBACK editValueDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM) { return closeOnly(dlg, msg); }
void openEditValueDialog() {}
