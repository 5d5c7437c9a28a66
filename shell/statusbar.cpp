// The status bar: part 0 for messages, part 1 for the highlighted offset.
#include <windows.h>
#include <commctrl.h>

#include "document/editor_state.h"
#include "hexview/rowtext.h"
#include "shell/statusbar.h"
#include "shell/title_text.h"

int createStatusBar(HWND parent, const char *text, int parts)
{
    ed.statusWnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_SIZEGRIP, text,
                                       parent, IDC_STATUSBAR);
    if (!ed.statusWnd) return 0;
    int edges[2] = {200, 350};
    if (parts > 2) parts = 2;
    SendMessageA(ed.statusWnd, SB_SETPARTS, parts, (LPARAM)edges);
    setStatusText("", 0, 0);
    showOffsetInStatus();
    return 1;
}

void setStatusText(const char *text, int part, int style)
{
    if (ed.statusWnd) SendMessageA(ed.statusWnd, SB_SETTEXTA, (WPARAM)((part | style) & 0xFFFF), (LPARAM)text);
}

void showOffsetInStatus()
{
    offsetStatusText(ed.textScratch, sizeof ed.textScratch, ed.selStart, ed.selLength,
                     (ed.viewFormat & VF_HEX_OFFSETS) != 0);
    setStatusText(ed.textScratch, 1, SBT_POPOUT);
}
