// The editor's command line: the whole argument string is one path.
// Needs no window, so it is tested natively as well.
#ifndef QUILLON_CMDLINE_H
#define QUILLON_CMDLINE_H

#include <stddef.h>

#include "runtime/progname.h"   // the rule that leaves the argument string

enum CommandLineAction {
    CMDLINE_OFFER_OPEN,     // no argument: offer the Open dialog
    CMDLINE_OPEN_PATH,      // open the path written to the output
    CMDLINE_TOO_LONG        // the argument does not fit a path buffer
};

// Turns the argument string into the path to open: one trailing and then one
// leading double quote are removed. The output holds pathSize characters
// with the terminating zero; a path that does not fit is refused.
CommandLineAction parseCommandLine(const char *args, char *path, size_t pathSize);
// The same on the Unicode argument string of the NT family.
CommandLineAction parseCommandLine(const wchar_t *args, wchar_t *path, size_t pathSize);

#endif
