// Settings and the recent-files list in the registry of the current user.
// Each value is read or written with its own open and close of the key.
#include <windows.h>
#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "document/filenames.h"
#include "hexview/rowtext.h"
#include "runtime/format.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/settings_text.h"

static_assert((int)RECENT_PATH_CHARS == (int)RECENT_CHARS && (int)RECENT_ENTRIES == (int)RECENT_COUNT,
              "the recent-files list has one shape");

namespace {

const char settingsKey[] = "Software\\Ostrel\\Quillon";

typedef BOOL(WINAPI *InsertFunction)(HMENU, UINT, UINT, UINT_PTR, LPCWSTR);

// No setting comes near this; a larger value is not even fetched.
const DWORD LARGEST_VALUE = 64 * 1024;

void writeNumber(const char *name, int32_t value)
{
    char text[SETTING_CHARS];
    formatText(text, sizeof text, "%li", (long)value);
    writeSetting(name, text);
}

void readPlacement(const char *name, bool mustBePositive, int32_t *field)
{
    char text[SETTING_CHARS];
    readSetting(name, text, sizeof text);
    takePlacementValue(text, mustBePositive, field, &ed.placementValuesMissing);
}

void deleteSetting(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

}  // namespace

int readSetting(const char *name, char *dest, size_t destSize)
{
    if (destSize) dest[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, NULL, &type, NULL, &size) != ERROR_SUCCESS || size == 0 ||
        size > LARGEST_VALUE) {
        RegCloseKey(key);
        return 0;
    }
    int result = 0;
    char *block = (char *)HeapAlloc(GetProcessHeap(), 0, size + 1);
    if (block) {
        DWORD got = size;
        if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)block, &got) == ERROR_SUCCESS &&
            got <= size)
            result = settingFromValue(block, got, type, dest, destSize);
        HeapFree(GetProcessHeap(), 0, block);
    }
    RegCloseKey(key);
    return result;
}

void writeSetting(const char *name, const char *text)
{
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, NULL, &key, &disposition) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
    RegCloseKey(key);
}

void loadSettings()
{
    ed.viewFormat = VF_DEFAULT;
    ed.searchOptions = 0;
    ed.ignoreCase = 1;
    for (int i = 0; i < RECENT_COUNT; ++i) ed.recentFiles[i][0] = '\0';
    ed.windowLeft = ed.windowTop = ed.windowWidth = ed.windowHeight = ed.showState = 0;
    ed.placementValuesMissing = 5;

    readPlacement("Left", false, &ed.windowLeft);
    readPlacement("Top", false, &ed.windowTop);
    readPlacement("Width", true, &ed.windowWidth);
    readPlacement("Height", true, &ed.windowHeight);
    readPlacement("Showcmd", false, &ed.showState);

    char text[SETTING_CHARS];
    if (readSetting("Format", text, sizeof text) && text[0])
        ed.viewFormat = formatFromSetting(parseLongSetting(text));
    if (readSetting("default", text, sizeof text))
        parseDefaultSetting(text, &ed.searchOptions, &ed.ignoreCase);

    // An entry that cannot be used (too long for the list, not a string, a
    // name in the device namespace) is left out; the others keep their
    // order. The list is written back without it.
    ed.recentCount = 0;
    for (int i = 0; i < RECENT_COUNT; ++i) {
        char name[8];
        formatText(name, sizeof name, "File%i", i + 1);
        char *entry = ed.recentFiles[ed.recentCount];
        if (readSetting(name, entry, RECENT_CHARS) && entry[0] && !isDeviceNamespace(entry)) ++ed.recentCount;
        else entry[0] = '\0';
    }

    if (ed.openDir) readSetting("OpenDir", ed.openDir, PATH_CHARS);
    if (ed.helpDir) {
        char dir[PATH_CHARS];
        readSetting("HDir", dir, sizeof dir);
        helpPathOf(dir, helpFileName, ed.helpDir, PATH_CHARS);
    }
}

void saveSettings()
{
    char text[SETTING_CHARS];
    defaultSettingText(text, sizeof text, ed.searchOptions, ed.ignoreCase);
    writeSetting("default", text);

    // A window that never had a normal size keeps what the registry holds.
    if (ed.windowWidth > 10 && ed.windowHeight > 10) {
        writeNumber("Left", ed.windowLeft);
        writeNumber("Top", ed.windowTop);
        writeNumber("Width", ed.windowWidth);
        writeNumber("Height", ed.windowHeight);
        writeNumber("Showcmd", ed.showState);
    }

    formatText(text, sizeof text, "%i", (int)(int8_t)ed.viewFormat);
    writeSetting("Format", text);

    for (int i = 0; i < RECENT_COUNT; ++i) {
        char name[8];
        formatText(name, sizeof name, "File%i", i + 1);
        if (i < ed.recentCount) writeSetting(name, ed.recentFiles[i]);
        else deleteSetting(name);      // an entry left out at the start
    }

    if (ed.openDir && ed.openDir[0]) writeSetting("OpenDir", ed.openDir);
}

void addRecentFile(const char *path)
{
    ed.recentCount = addRecentPath(ed.recentFiles, ed.recentCount, path);
    rebuildRecentMenu();
}

void rebuildRecentMenu()
{
    HMENU file = ed.menu ? GetSubMenu(ed.menu, 0) : NULL;
    if (!file) return;
    for (int i = 0; i < RECENT_COUNT; ++i) DeleteMenu(file, IDM_RECENT1 + i, MF_BYCOMMAND);
    // With the recent items gone, the added separator is the one at
    // position 3 of three in a row.
    if (ed.recentSeparator) {
        DeleteMenu(file, 3, MF_BYPOSITION);
        ed.recentSeparator = 0;
    }
    // On the NT family, a file that the code page spells only by its short
    // name shows its long one; the entry itself stays as it is.
    InsertFunction insertWide = (InsertFunction)(void *)unicodeFunction("USER32", "InsertMenuW");
    for (int i = 0; i < ed.recentCount && i < RECENT_COUNT; ++i) {
        wchar_t longName[RECENT_CHARS];
        if (insertWide && longNameOf(ed.recentFiles[i], longName, RECENT_CHARS)) {
            wchar_t wide[RECENT_ITEM_CHARS];
            recentItemText(wide, RECENT_ITEM_CHARS, i, (const wchar_t *)longName);
            insertWide(file, IDM_EXIT, MF_BYCOMMAND | MF_STRING, IDM_RECENT1 + i, wide);
        } else {
            char text[RECENT_ITEM_CHARS];
            recentItemText(text, sizeof text, i, (const char *)ed.recentFiles[i]);
            InsertMenuA(file, IDM_EXIT, MF_BYCOMMAND | MF_STRING, IDM_RECENT1 + i, text);
        }
    }
    if (ed.recentCount > 0) {
        InsertMenuA(file, IDM_EXIT, MF_BYCOMMAND | MF_SEPARATOR, 0, NULL);
        ed.recentSeparator = 1;
    }
    DrawMenuBar(ed.mainWnd);
}
