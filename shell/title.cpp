#include "document/editor_state.h"
#include "shell/statusbar.h"

void updateTitle()
{
    if (ed.mainWnd) SendMessageA(ed.mainWnd, WM_SETTEXT, 0, (LPARAM)(ed.fileName[0] ? ed.fileName : "Quillon 95"));
}
int32_t percentOf(int32_t) { return ed.percent; }
