// The main window's title: the file's name, its size and the view's position.
#include "document/editor_state.h"
#include "shell/statusbar.h"
#include "shell/title_text.h"

void updateTitle()
{
    char title[TITLE_CHARS + 1];
    if (ed.fileName[0]) lstrcpynA(ed.fileTitle, fileTitleOf(ed.fileName), sizeof ed.fileTitle);
    composeTitle(title, sizeof title, ed.fileName, ed.fileSize, ed.percent);
    if (ed.mainWnd) SendMessageA(ed.mainWnd, WM_SETTEXT, 0, (LPARAM)title);
}

int32_t percentOf(int32_t offset)
{
    return percentOfOffset(offset, ed.fileSize, ed.percent);
}
