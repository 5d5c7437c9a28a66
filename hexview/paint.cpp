#include "document/editor_state.h"
#include "hexview/hexview.h"

void paintView(HWND wnd)
{
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
}
void drawLine(HDC, int32_t, const char *) {}
void drawColumns(HDC, int32_t, const char *, int32_t, int32_t) {}
