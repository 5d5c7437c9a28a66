#include "document/editor_state.h"
#include "search/search.h"

void startSearch(int) {}
void searchStep() {}
void stopSearch() {}
void finishSearch(bool) {}
bool bytesMatch(unsigned char f, unsigned char p) { return f == p; }
INT_PTR CALLBACK searchDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_CLOSE) EndDialog(dlg, 1);
    return FALSE;
}
