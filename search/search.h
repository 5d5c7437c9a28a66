// The incremental search engine and the Search dialog.
#ifndef QUILLON_SEARCH_H
#define QUILLON_SEARCH_H

#include <windows.h>

// What the Search dialog was left with (searchRequest), and what a search
// is started for: Find, from where the options say, or Find Next, on from
// the last match.
enum SearchRequest {
    SEARCH_NONE = 0,        // cancelled, or nothing to search for
    SEARCH_FIND = 1,
    SEARCH_FIND_NEXT = 2
};

void startSearch(SearchRequest request);
// Starts the search's 1 ms thread timer; a search that cannot have one ends.
void armSearchTimer();
void searchStep();
void stopSearch();

// The case rule of the comparison (foldCase): letters fold in a text search
// while "&Match uppercase" is off (ignoreCase), never in a hexadecimal
// one. The Search dialog applies it when it is left with Find or Find Next.
void applyCaseRule();
INT_PTR CALLBACK searchDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
