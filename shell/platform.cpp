// What the system offers, asked of the system itself: its version, and
// the functions it exports.
#include "shell/platform.h"

namespace {

// GetVersion sets its high bit on Windows 95 and its family.
const DWORD VERSION_NOT_NT = 0x80000000ul;
// Windows Vista, the first version without a WinHelp viewer.
const BYTE VISTA_MAJOR_VERSION = 6;

}  // namespace

bool onNtFamily()
{
    return (GetVersion() & VERSION_NOT_NT) == 0;
}

FARPROC unicodeFunction(const char *module, const char *name)
{
    HMODULE system = onNtFamily() ? GetModuleHandleA(module) : NULL;
    return system ? GetProcAddress(system, name) : NULL;
}

bool hasWinHelp()
{
    return LOBYTE(LOWORD(GetVersion())) < VISTA_MAJOR_VERSION;
}
