#include "document/editor_state.h"
#include "hexview/hexview.h"

void updateScrollRanges() {}
int32_t scrollPosOfRow(int32_t row) { return row / ed.vScrollScale; }
void showViewCaret() {}
void hideViewCaret() {}
void dropCaret() { ed.caretOffset = -1; }
void placeCaret(int32_t, int32_t) {}
bool rowHighlightSpan(int32_t, int32_t *, int32_t *) { return false; }
bool rowCaretColumn(int32_t, int32_t *) { return false; }
void onVScroll(WPARAM) {}
void onHScroll(WPARAM) {}
void sizeView(HWND mainWnd)
{
    GetClientRect(mainWnd, &ed.viewRect);
    ed.viewRect.bottom -= 20;
    if (ed.hexViewWnd)
        MoveWindow(ed.hexViewWnd, ed.viewRect.left, ed.viewRect.top, ed.viewRect.right,
                   ed.viewRect.bottom - ed.viewRect.top, TRUE);
    if (ed.statusWnd) SendMessageA(ed.statusWnd, WM_SIZE, 0, 0);
    updateScrollRanges();
}
void onSetFocus() {}
void onKillFocus() {}
