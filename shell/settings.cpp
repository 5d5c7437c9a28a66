#include "document/editor_state.h"
#include "shell/settings.h"

int readSetting(const char *, char *dest, size_t destSize)
{
    if (destSize) dest[0] = '\0';
    return 0;
}
void writeSetting(const char *, const char *) {}
void loadSettings() { ed.placementMissing = 5; }
void saveSettings() {}
void addRecentFile(const char *) {}
void rebuildRecentMenu() {}
