// The rule by which a program's entry takes its own name off the process
// command line, leaving the argument string.
#ifndef QUILLON_RUNTIME_PROGNAME_H
#define QUILLON_RUNTIME_PROGNAME_H

// Skips leading blanks and tabs, then the program's name (to the closing
// double quote if it starts with one, else to the next blank or tab), then
// the blanks and tabs after it. Returns where the arguments begin.
const char *skipProgramName(const char *commandLine);
// The same rule on the Unicode command line of the NT family.
const wchar_t *skipProgramName(const wchar_t *commandLine);

#endif
