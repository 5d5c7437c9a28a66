#include "shell/title_text.h"

#include <string.h>

#include "runtime/format.h"

int32_t groupDigits(char *destination, size_t destinationSize, int32_t size)
{
    char digits[16];
    int n = formatText(digits, sizeof digits, "%li", (long)size);
    size_t out = 0;
    for (int i = 0; i < n; ++i) {
        if (out + 1 >= destinationSize) break;
        destination[out++] = digits[i];
        int after = n - 1 - i;
        if (after > 0 && after % 3 == 0 && digits[i] != '-') {
            if (out + 1 >= destinationSize) break;
            destination[out++] = ',';
        }
    }
    if (destinationSize > 0) destination[out] = '\0';
    return (int32_t)out;
}

int32_t composeTitle(char *destination, size_t destinationSize, const char *path,
                     int32_t fileSize, int32_t percent, size_t *nameStart, size_t *nameLength)
{
    if (nameStart) *nameStart = 0;
    if (nameLength) *nameLength = 0;
    if (destinationSize == 0) return 0;
    char title[TITLE_CHARS + 1];
    if (path[0] == '\0') {
        formatText(title, sizeof title, "Quillon 95");
    } else {
        char size[32];
        groupDigits(size, sizeof size, fileSize);
        // The title without the name, which then goes after the head.
        static const char head[] = "Quillon 95   ";
        char frame[TITLE_CHARS + 1];
        formatText(frame, sizeof frame, "%s (%s bytes) %2i %%", head, size, (int)percent);
        size_t shown = placeName(title, frame, sizeof head - 1, 0, path);
        if (nameStart) *nameStart = sizeof head - 1;
        if (nameLength) *nameLength = shown;
    }
    size_t length = strlen(title);
    if (length >= destinationSize) length = destinationSize - 1;
    memcpy(destination, title, length);
    destination[length] = '\0';
    return (int32_t)length;
}

int32_t percentOfOffset(int32_t offset, int32_t fileSize, int32_t previous)
{
    if (fileSize == 0) return previous;
    if (fileSize > 20000000) return offset / (fileSize / 100);
    return (int32_t)((int64_t)offset * 100 / fileSize);
}

void offsetStatusText(char *destination, size_t destinationSize, int32_t selStart,
                      int32_t selLength, bool hexOffsets)
{
    if (destinationSize == 0) return;
    if (selLength == 0) destination[0] = '\0';
    else if (hexOffsets)
        formatText(destination, destinationSize, "Offset: %lx (HEX)", (unsigned long)(uint32_t)selStart);
    else
        formatText(destination, destinationSize, "Offset: %li (DEC)", (long)selStart);
}
