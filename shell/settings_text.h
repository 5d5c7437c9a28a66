// The texts of the editor's registry values and the recent-files list,
// without the registry itself.
#ifndef QUILLON_SETTINGS_TEXT_H
#define QUILLON_SETTINGS_TEXT_H

#include <stddef.h>
#include <stdint.h>

enum {
    SETTING_CHARS = 16,         // buffer of a numeric value and of "default"
    RECENT_ENTRIES = 4,
    RECENT_PATH_CHARS = 260,
    RECENT_ITEM_CHARS = 2 * RECENT_PATH_CHARS + 8,  // a menu item: "&4 ", every "&" doubled
    VALUE_TYPE_SZ = 1,          // REG_SZ
    VALUE_TYPE_EXPAND_SZ = 2    // REG_EXPAND_SZ
};

// A value as the registry handed it over (data of dataSize bytes, its type)
// turned into a string in dest: only string types are taken, the text ends
// at the first zero or at dataSize, and a text that does not fit dest is
// refused whole rather than cut. Returns 1 when a value of nonzero size was
// taken, else 0 with dest empty.
int settingFromValue(const char *data, size_t dataSize, uint32_t type, char *dest,
                     size_t destSize);

// "default": "0" + searchOptions, "0" + ignoreCase, "000".
void defaultSettingText(char *dest, size_t destSize, uint8_t searchOptions, uint8_t ignoreCase);
// searchOptions = first character - '0' when that is 0 to 3 (else unchanged);
// ignoreCase = 0 when the second character is '0', else 1.
void parseDefaultSetting(const char *text, uint8_t *searchOptions, uint8_t *ignoreCase);

// The "%li" value of a text (0x and 0 prefixes as for %li), kept within 32
// bits; 0 when the text holds no number.
int32_t parseLongSetting(const char *text);

// The ViewFormat of a stored "Format" number: its low 8 bits; a size code of
// 0x06, which the program never writes, gives the default 0x11.
uint8_t formatFromSetting(int32_t value);

// One placement value: a non-empty text sets the field, and counts as
// present (missing - 1) unless mustBePositive and the value is not above 0.
void takePlacementValue(const char *text, bool mustBePositive, int32_t *field,
                        uint8_t *missing);

// Case-insensitive comparison of two paths in the classic locale.
bool samePath(const char *a, const char *b);

// The recent-files list after opening path: an entry equal to it (without
// regard to case) is removed, the others move down, path becomes entry 0,
// and the oldest falls off a full list. Returns the new count.
int16_t addRecentPath(char list[][RECENT_PATH_CHARS], int16_t count, const char *path);

// "&N path", N being index + 1 (1 to RECENT_ENTRIES), each "&" of the path
// doubled so the menu shows it as it is. A path cut for want of room ends
// before a whole "&&", never in its middle. For the ANSI menu and, on the
// NT family, the Unicode one.
template <typename Char>
void recentItemText(Char *dest, size_t destSize, int index, const Char *path)
{
    if (destSize == 0) return;
    const Char prefix[3] = {'&', (Char)('1' + index), ' '};
    size_t at = 0;
    for (; at < 3 && at + 1 < destSize; ++at) dest[at] = prefix[at];
    // A menu takes "&" as the mark of the next character; "&&" shows one.
    // No lead or trail byte of a double-byte character is an "&".
    for (; at >= 3 && *path; ++path) {
        size_t width = *path == '&' ? 2 : 1;
        if (at + width >= destSize) break;
        dest[at++] = *path;
        if (width == 2) dest[at++] = '&';
    }
    dest[at] = 0;
}

// The help file's path from the "HDir" directory: directory + fileName, or
// "" when the directory is empty or the whole would not fit dest.
void helpPathOf(const char *dir, const char *fileName, char *dest, size_t destSize);

#endif
