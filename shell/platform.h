// What the system the editor runs on offers: the NT family's Unicode
// functions, and WinHelp. Anything newer than Windows 95 is taken from the
// system only where it exists.
#ifndef QUILLON_PLATFORM_H
#define QUILLON_PLATFORM_H

#include <windows.h>

// True on the NT family, where the Unicode functions are loaded.
bool onNtFamily();
// A Unicode function of a system DLL the program imports ("KERNEL32",
// "USER32", "COMDLG32"): on the NT family, where the system has it; NULL
// on Windows 95.
FARPROC unicodeFunction(const char *module, const char *name);
// True where the system has a WinHelp viewer: Windows 95 to XP. Vista and
// later have none.
bool hasWinHelp();

#endif
