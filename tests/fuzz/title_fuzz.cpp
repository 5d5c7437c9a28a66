// The title from any path, size and percent, into buffers of any size.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "shell/title_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 7) return 0;
    size_t destSize = data[0] + 1;                  // 1 .. 256
    int32_t fileSize, percent = (int8_t)data[5];
    memcpy(&fileSize, data + 1, 4);
    char *path = (char *)malloc(size - 5);
    memcpy(path, data + 6, size - 6);
    path[size - 6] = '\0';
    char *dest = (char *)malloc(destSize);

    int32_t n = composeTitle(dest, destSize, path, fileSize, percent);
    if (n < 0 || (size_t)n >= destSize || strlen(dest) != (size_t)n || n > TITLE_CHARS) abort();
    if (destSize > TITLE_CHARS && path[0] && strstr(dest, " bytes) ") == NULL) abort();

    free(dest);
    free(path);
    return 0;
}
