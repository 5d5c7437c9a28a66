#include "runtime/progname.h"

namespace {

// One rule for both widths of the command line.
template <class Char>
const Char *skipName(const Char *p)
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

}  // namespace

const char *skipProgramName(const char *commandLine) { return skipName(commandLine); }

const wchar_t *skipProgramName(const wchar_t *commandLine) { return skipName(commandLine); }
