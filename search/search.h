// The incremental search engine and the Search dialog.
#ifndef QUILLON_SEARCH_H
#define QUILLON_SEARCH_H

#include <windows.h>

void startSearch(int request);
// Starts the search's 1 ms thread timer; a search that cannot have one ends.
void armSearchTimer();
void searchStep();
void stopSearch();
void finishSearch(bool aborted);

INT_PTR CALLBACK searchDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
