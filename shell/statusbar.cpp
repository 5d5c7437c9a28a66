#include <windows.h>
#include <commctrl.h>

#include "document/editor_state.h"
#include "shell/statusbar.h"

int createStatusBar(HWND parent, const char *text, int)
{
    ed.statusWnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_SIZEGRIP, text,
                                       parent, IDC_STATUSBAR);
    return ed.statusWnd != NULL;
}
void setStatusText(const char *text, int part, int style)
{
    if (ed.statusWnd) SendMessageA(ed.statusWnd, SB_SETTEXTA, part | style, (LPARAM)text);
}
void showOffsetInStatus() {}
