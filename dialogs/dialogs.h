// The Go to offset, View Format and Edit value dialogs.
#ifndef QUILLON_DIALOGS_H
#define QUILLON_DIALOGS_H

#include <windows.h>

INT_PTR CALLBACK goToDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK formatDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK editValueDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the Edit value dialog for the unit at the caret, between
// dialogOpen = 1 and dialogOpen = 0.
void openEditValueDialog();

#endif
