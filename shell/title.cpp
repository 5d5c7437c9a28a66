// The main window's title: the file's name, its size and the view's position.
#include <string.h>

#include "document/editor_state.h"
#include "shell/platform.h"
#include "shell/title.h"
#include "shell/title_text.h"

namespace {

typedef LRESULT(WINAPI *WindowProcedure)(HWND, UINT, WPARAM, LPARAM);

// On the NT family, a file that the code page spells only by its short
// name shows its long one: the title composed for the short name, with the
// long name in its place, set in Unicode. The system's own handling of
// WM_SETTEXT for Unicode keeps every character, where the window's ANSI
// procedure would take them through the code page again.
bool showLongName(const char *title, size_t nameStart, size_t nameLength)
{
    WindowProcedure setText = (WindowProcedure)(void *)unicodeFunction("USER32", "DefWindowProcW");
    if (!setText) return false;
    wchar_t wide[TITLE_CHARS + 1];
    placeName(wide, title, nameStart, nameLength, (const wchar_t *)ed.longFileName);
    setText(ed.mainWnd, WM_SETTEXT, 0, (LPARAM)wide);
    return true;
}

}  // namespace

void updateTitle()
{
    char title[TITLE_CHARS + 1];
    if (ed.fileName[0]) lstrcpynA(ed.fileTitle, fileTitleOf(ed.fileName), sizeof ed.fileTitle);
    size_t nameStart, nameLength;
    composeTitle(title, sizeof title, ed.fileName, ed.fileSize, ed.percent, &nameStart, &nameLength);
    if (!ed.mainWnd) return;
    if (ed.fileName[0] && ed.longFileName[0] && showLongName(title, nameStart, nameLength)) return;
    SendMessageA(ed.mainWnd, WM_SETTEXT, 0, (LPARAM)title);
}

int32_t percentOf(int32_t offset)
{
    return percentOfOffset(offset, ed.fileSize, ed.percent);
}
