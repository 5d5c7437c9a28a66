// The programs' entry point, in place of a C runtime's start-up code: the
// argument string, the show command and the instance for WinMain, and the
// process ends with WinMain's result. Linked only into the shipped programs.
#include <windows.h>

#include "runtime/progname.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int showCommand);

// The loader calls this with a stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer)) void programEntry(void)
{
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    // The process's own command line: writable, and WinMain may keep it.
    LPSTR args = (LPSTR)skipProgramName(GetCommandLineA());
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, args, showCommand));
}
