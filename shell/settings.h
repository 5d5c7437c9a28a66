// Settings and the recent-files list in the registry of the current user.
#ifndef QUILLON_SETTINGS_H
#define QUILLON_SETTINGS_H

#include <stddef.h>

// Reads a string value into dest (destSize characters with the zero);
// 1 when a value of nonzero size was read, else 0 with dest empty.
int readSetting(const char *name, char *dest, size_t destSize);
void writeSetting(const char *name, const char *text);
void loadSettings();
void saveSettings();
void addRecentFile(const char *path);
void rebuildRecentMenu();

#endif
