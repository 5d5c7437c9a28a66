// The status bar at the bottom of the main window: part 0 for messages,
// part 1 for the highlighted offset.
#ifndef QUILLON_STATUSBAR_H
#define QUILLON_STATUSBAR_H

#include <windows.h>
#include <stdint.h>

int createStatusBar(HWND parent, const char *text, int parts);
void setStatusText(const char *text, int part, int style);
void showOffsetInStatus();

#endif
