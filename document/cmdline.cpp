#include "document/cmdline.h"

#include <string.h>

CommandLineAction parseCommandLine(const char *args, char *path, size_t pathSize)
{
    size_t n = strlen(args);
    if (pathSize == 0) return CMDLINE_TOO_LONG;
    path[0] = '\0';
    if (n == 0) return CMDLINE_OFFER_OPEN;

    // The quotes are not part of the path: a quoted path that fits the
    // buffer is opened like the same path without them.
    if (args[n - 1] == '"') --n;
    if (n > 0 && args[0] == '"') {
        ++args;
        --n;
    }
    if (n >= pathSize) return CMDLINE_TOO_LONG;
    memcpy(path, args, n);
    path[n] = '\0';
    return CMDLINE_OPEN_PATH;
}
