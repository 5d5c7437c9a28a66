// The Go to offset, View Format and Edit value dialogs.
#ifndef QUILLON_DIALOGS_H
#define QUILLON_DIALOGS_H

#include <windows.h>

INT_PTR CALLBACK goToDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK formatDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK editValueDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs one of the editor's modal dialogs (the template name, its procedure)
// between dialogOpen = 1 and dialogOpen = 0: the paint leaves the caret
// alone while it is up.
void runModalDialog(const char *name, DLGPROC proc);

// Runs the Edit value dialog for the unit at the caret.
void openEditValueDialog();

#endif
