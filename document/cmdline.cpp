#include "document/cmdline.h"

#include <string.h>

const char *skipProgramName(const char *p)
{
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

CommandLineAction parseCommandLine(const char *args, char *path, size_t pathSize)
{
    size_t n = strlen(args);
    if (pathSize == 0) return CMDLINE_TOO_LONG;
    path[0] = '\0';
    if (n == 0) return CMDLINE_OFFER_OPEN;
    if (n >= pathSize) return CMDLINE_TOO_LONG;

    memcpy(path, args, n + 1);
    if (path[n - 1] == '"') path[--n] = '\0';
    if (path[0] == '"') memmove(path, path + 1, n);   // n bytes: the rest and its zero
    return CMDLINE_OPEN_PATH;
}
