#include "document/editor_state.h"

#include <string.h>

#include "hexview/rowtext.h"
#include "shell/platform.h"

const char appCaption[] = "Quillon for Windows 95   Version 1.4";
const char helpFileName[] = "quillon95.hlp";

EditorState ed;

namespace {

const char headerLabel[] = " Offset:";

}  // namespace

void resetEditorState()
{
    // The three heap blocks outlive a reset: they belong to start-up.
    unsigned char *page = ed.pageBuffer;
    char *openDir = ed.openDir, *helpDir = ed.helpDir;
    memset(&ed, 0, sizeof ed);
    ed.pageBuffer = page;
    ed.openDir = openDir;
    ed.helpDir = helpDir;

    ed.fileHandle = -1;
    ed.charHeight = 8;
    ed.vScrollScale = 1;
    ed.vScrollMax = 1;
    ed.hScrollMax = 120;
    ed.caretOffset = -1;
    ed.lastFound = -1;
    ed.ignoreCase = 1;
    ed.viewFormat = VF_DEFAULT;
    ed.winHelp = hasWinHelp();
    memset(ed.headerLine, ' ', HEADER_CHARS);
    memcpy(ed.headerLine, headerLabel, sizeof headerLabel - 1);
    ed.headerLine[HEADER_CHARS] = '\0';
}
