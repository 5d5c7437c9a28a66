#include "shell/settings_text.h"

#include <string.h>

#include "dialogs/numbers.h"
#include "hexview/rowtext.h"
#include "runtime/format.h"
#include "runtime/text.h"

int settingFromValue(const char *data, size_t dataSize, uint32_t type, char *dest,
                     size_t destSize)
{
    if (destSize == 0) return 0;
    dest[0] = '\0';
    if (dataSize == 0 || data == NULL) return 0;
    if (type != VALUE_TYPE_SZ && type != VALUE_TYPE_EXPAND_SZ) return 0;
    const char *end = (const char *)memchr(data, '\0', dataSize);
    size_t length = end ? (size_t)(end - data) : dataSize;
    if (length >= destSize) return 0;
    memcpy(dest, data, length);
    dest[length] = '\0';
    return 1;
}

void defaultSettingText(char *dest, size_t destSize, uint8_t searchOptions, uint8_t ignoreCase)
{
    char text[6] = {(char)('0' + searchOptions), (char)('0' + ignoreCase), '0', '0', '0', '\0'};
    copyText(dest, destSize, text);
}

void parseDefaultSetting(const char *text, uint8_t *searchOptions, uint8_t *ignoreCase)
{
    int options = text[0] - '0';
    if (text[0] != '\0' && options >= 0 && options <= 3) *searchOptions = (uint8_t)options;
    *ignoreCase = (text[0] != '\0' && text[1] == '0') ? 0 : 1;
}

int32_t parseLongSetting(const char *text)
{
    char bounded[SETTING_CHARS];
    copyText(bounded, sizeof bounded, text);
    bool negative;
    uint64_t magnitude;
    if (!readNumber(bounded, 0, &negative, &magnitude)) return 0;
    if (negative) return magnitude > (uint64_t)INT32_MAX + 1 ? INT32_MIN : (int32_t)(0 - magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : (int32_t)magnitude;
}

uint8_t formatFromSetting(int32_t value)
{
    uint8_t format = (uint8_t)(value & 0xFF);
    if ((format & VF_UNIT_SIZE) == VF_UNIT_SIZE) return VF_DEFAULT;    // no such unit size
    return format;
}

void takePlacementValue(const char *text, bool mustBePositive, int32_t *field, uint8_t *missing)
{
    if (text[0] == '\0') return;
    *field = parseLongSetting(text);
    if ((!mustBePositive || *field > 0) && *missing > 0) --*missing;
}

bool samePath(const char *a, const char *b)
{
    for (; *a && *b; ++a, ++b)
        if (upperCase(*a) != upperCase(*b)) return false;
    return *a == *b;
}

int16_t addRecentPath(char list[][RECENT_PATH_CHARS], int16_t count, const char *path)
{
    if (count < 0) count = 0;
    if (count > RECENT_ENTRIES) count = RECENT_ENTRIES;
    for (int i = 0; i < count;) {
        if (samePath(list[i], path)) {
            for (int j = i; j + 1 < count; ++j) memcpy(list[j], list[j + 1], RECENT_PATH_CHARS);
            list[count - 1][0] = '\0';
            --count;
        } else {
            ++i;    // after a removal the same index holds the next entry
        }
    }
    for (int i = RECENT_ENTRIES - 1; i > 0; --i) memcpy(list[i], list[i - 1], RECENT_PATH_CHARS);
    copyText(list[0], RECENT_PATH_CHARS, path);
    if (count < RECENT_ENTRIES) ++count;
    return count;
}

void helpPathOf(const char *dir, const char *fileName, char *dest, size_t destSize)
{
    if (destSize == 0) return;
    dest[0] = '\0';
    size_t dirLength = strlen(dir), nameLength = strlen(fileName);
    if (dirLength == 0 || dirLength + nameLength >= destSize) return;
    memcpy(dest, dir, dirLength);
    memcpy(dest + dirLength, fileName, nameLength + 1);
}
