#include "document/cmdline.h"

namespace {

// One rule for both widths of the command line.
template <class Char>
CommandLineAction parse(const Char *args, Char *path, size_t pathSize)
{
    size_t n = 0;
    while (args[n]) ++n;
    if (pathSize == 0) return CMDLINE_TOO_LONG;
    path[0] = 0;
    if (n == 0) return CMDLINE_OFFER_OPEN;

    // The quotes are not part of the path: a quoted path that fits the
    // buffer is opened like the same path without them.
    if (args[n - 1] == '"') --n;
    if (n > 0 && args[0] == '"') {
        ++args;
        --n;
    }
    if (n >= pathSize) return CMDLINE_TOO_LONG;
    for (size_t i = 0; i < n; ++i) path[i] = args[i];
    path[n] = 0;
    return CMDLINE_OPEN_PATH;
}

}  // namespace

CommandLineAction parseCommandLine(const char *args, char *path, size_t pathSize)
{
    return parse(args, path, pathSize);
}

CommandLineAction parseCommandLine(const wchar_t *args, wchar_t *path, size_t pathSize)
{
    return parse(args, path, pathSize);
}
