#include "document/editor_state.h"
#include "hexview/hexview.h"

void toggleEditMode() {}
void advanceCaret() {}
void onKeyDown(WPARAM) {}
void onChar(WPARAM) {}
void onLButtonUp(LPARAM) {}
void onLButtonDblClk() {}
void onRButtonUp() {}
void showModeBitmap()
{
    if (!ed.menu) return;
    HBITMAP picture = ed.editMode ? ed.editBitmap : ed.viewBitmap;
    ModifyMenuA(ed.menu, IDM_VIEWMODE, MF_BYCOMMAND | MF_BITMAP, IDM_VIEWMODE, (LPCSTR)picture);
    DrawMenuBar(ed.mainWnd);
}
