// Settings and the recent-files list in the registry of the current user.
#ifndef QUILLON_SETTINGS_H
#define QUILLON_SETTINGS_H

#include <windows.h>
#include <stddef.h>

// The main window's state at its last size change, as "Showcmd" keeps it
// (showState). Minimized is stored as the system's SW_SHOWMINIMIZED;
// maximized has always been stored as 4, which the system's show commands
// call SW_SHOWNOACTIVATE, so it is shown with SW_SHOWMAXIMIZED.
enum ShowState {
    SHOWN_NORMAL = 0,
    SHOWN_MINIMIZED = SW_SHOWMINIMIZED,
    SHOWN_MAXIMIZED = 4
};

// Reads a string value into dest (destSize characters with the zero);
// 1 when a value of nonzero size was read, else 0 with dest empty.
int readSetting(const char *name, char *dest, size_t destSize);
void writeSetting(const char *name, const char *text);
void loadSettings();
void saveSettings();
void addRecentFile(const char *path);
void rebuildRecentMenu();

#endif
