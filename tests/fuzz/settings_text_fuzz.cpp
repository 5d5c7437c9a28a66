// The registry values as any program may have left them: any data, size
// and type into the settings' buffers of exact size, the numbers and the
// "default" text, and the recent-files list after opening any path.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "shell/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4) return 0;
    size_t destSize = data[0];                  // 0 .. 255
    uint32_t type = data[1] % 4;
    uint8_t pick = data[2];
    int16_t count = (int16_t)(data[3] % 7) - 1;  // -1 .. 5, as a damaged state might hold
    const char *value = (const char *)data + 4;
    size_t valueSize = size - 4;

    // The value as the registry hands it over: no terminating zero needed.
    char *raw = (char *)malloc(valueSize ? valueSize : 1);
    if (valueSize) memcpy(raw, value, valueSize);
    char *dest = (char *)malloc(destSize ? destSize : 1);
    int taken = settingFromValue(valueSize ? raw : NULL, valueSize, type, dest, destSize);
    if (taken && (strlen(dest) >= destSize || memcmp(dest, raw, strlen(dest)) != 0)) abort();
    if (!taken && destSize && dest[0] != '\0') abort();

    char text[SETTING_CHARS];
    if (!settingFromValue(raw, valueSize, VALUE_TYPE_SZ, text, sizeof text)) text[0] = '\0';

    uint8_t options = pick & 3, ignore = (pick >> 2) & 1;
    parseDefaultSetting(text, &options, &ignore);
    if (options > 3 || ignore > 1) abort();
    char shown[SETTING_CHARS];
    defaultSettingText(shown, sizeof shown, options, ignore);
    uint8_t options2 = 0, ignore2 = 0;
    parseDefaultSetting(shown, &options2, &ignore2);
    if (options2 != options || ignore2 != ignore) abort();

    int32_t number = parseLongSetting(text);
    uint8_t format = formatFromSetting(number);
    if ((format & 0x06) == 0x06) abort();
    int32_t field = 12345;
    uint8_t missing = pick % 6;
    uint8_t before = missing;
    takePlacementValue(text, pick & 0x80, &field, &missing);
    if (missing > before || before - missing > 1) abort();
    if (text[0] == '\0' && (field != 12345 || missing != before)) abort();

    // The recent-files list: any four entries, then the value opened as a path.
    char list[RECENT_ENTRIES][RECENT_PATH_CHARS];
    memset(list, 0, sizeof list);
    for (int i = 0; i < RECENT_ENTRIES; ++i) {
        size_t from = (size_t)i * 7;
        if (from >= valueSize) continue;
        size_t n = valueSize - from;
        if (n >= RECENT_PATH_CHARS) n = RECENT_PATH_CHARS - 1;
        memcpy(list[i], raw + from, n);
    }
    char path[RECENT_PATH_CHARS + 40];
    size_t pathLength = valueSize < sizeof path - 1 ? valueSize : sizeof path - 1;
    memcpy(path, raw, pathLength);
    path[pathLength] = '\0';
    int16_t after = addRecentPath(list, count, path);
    if (after < 1 || after > RECENT_ENTRIES) abort();
    for (int i = 0; i < RECENT_ENTRIES; ++i)
        if (memchr(list[i], '\0', RECENT_PATH_CHARS) == NULL) abort();
    if (strlen(path) < RECENT_PATH_CHARS) {
        if (strcmp(list[0], path) != 0) abort();
        for (int i = 1; i < after; ++i)
            if (samePath(list[i], path)) abort();
    }
    for (int i = 0; i < after; ++i) {
        recentItemText(dest, destSize, i, list[i]);
        if (destSize && strlen(dest) >= destSize) abort();
    }

    helpPathOf(text, "quillon95.hlp", dest, destSize);
    if (destSize && (strlen(dest) >= destSize || (dest[0] && strncmp(dest, text, strlen(text)) != 0))) abort();

    free(dest);
    free(raw);
    return 0;
}
