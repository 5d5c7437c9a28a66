#include "document/editor_state.h"
#include "hexview/hexview.h"

LRESULT CALLBACK hexViewProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return 0;
    case WM_ERASEBKGND:
        return eraseView(wnd, (HDC)wParam);
    case WM_PAINT:
        paintView(wnd);
        return 0;
    case WM_VSCROLL:
        onVScroll(wParam);
        return 0;
    case WM_HSCROLL:
        onHScroll(wParam);
        return 0;
    case WM_LBUTTONUP:
        onLButtonUp(lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        onLButtonDblClk();
        return 0;
    case WM_RBUTTONUP:
        onRButtonUp();
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}
