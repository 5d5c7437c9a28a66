// The status bar at the bottom of the main window and the window's title.
#ifndef QUILLON_STATUSBAR_H
#define QUILLON_STATUSBAR_H

#include <windows.h>
#include <stdint.h>

int createStatusBar(HWND parent, const char *text, int parts);
void setStatusText(const char *text, int part, int style);
void showOffsetInStatus();
void updateTitle();
int32_t percentOf(int32_t offset);

#endif
