// The editor's modal dialogs, and the flag that the paint reads while one
// is up.
#include <windows.h>

#include "dialogs/dialogs.h"
#include "document/editor_state.h"

void runModalDialog(const char *name, DLGPROC proc)
{
    ed.dialogOpen = 1;
    DialogBoxParamA(ed.instance, name, ed.mainWnd, proc, 0);
    ed.dialogOpen = 0;
}
