// The main window's title: the file's name, its size and the view's position.
#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "shell/statusbar.h"
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
    const wchar_t *name = ed.longFileName;
    for (const wchar_t *c = name; *c; ++c)
        if (*c == L'\\') name = c + 1;
    size_t length = strlen(title);
    size_t room = TITLE_CHARS - (length - nameLength);
    wchar_t wide[TITLE_CHARS + 1];
    size_t at = 0;
    for (size_t i = 0; i < nameStart; ++i) wide[at++] = (unsigned char)title[i];
    for (size_t i = 0; name[i] && i < room; ++i) wide[at++] = name[i];
    for (size_t i = nameStart + nameLength; i < length; ++i) wide[at++] = (unsigned char)title[i];
    wide[at] = L'\0';
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
