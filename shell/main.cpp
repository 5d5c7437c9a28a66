// The editor's entry point.
#include <windows.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int showCommand)
{
    if (!allocateBlocks()) {
        MessageBoxA(ed.mainWnd, "Error: Insufficient memory", appCaption, MB_OK);
        freeBlocks();
        return 0;
    }
    if (!previous && !registerMainClass(instance)) {
        freeBlocks();
        return 0;
    }
    if (!initInstance(instance, args, showCommand, unicodeArguments())) {
        freeBlocks();
        return 0;
    }
    int exitCode = runMessageLoop();
    freeBlocks();
    return exitCode;
}
