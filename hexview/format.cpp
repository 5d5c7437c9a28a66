// The row layout and the text of one unit for the current ViewFormat.
#include "dialogs/numbers.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"

void computeRowLayout()
{
    RowLayout l = rowLayoutOf(ed.viewFormat);
    ed.offsetChars = l.offsetChars;
    ed.unitChars = l.unitChars;
    ed.unitsPerRow = l.unitsPerRow;
    ed.rowChars = l.rowChars;
}

int32_t unitBytes() { return unitBytesOf(ed.viewFormat); }

int32_t unitStart(int32_t offset) { return alignToUnit(offset, unitBytes()); }

void formatUnitValue(int8_t missing)
{
    if (!ed.pageBuffer || ed.caretOffset < ed.pageBase) {
        ed.textScratch[0] = '\0';
        return;
    }
    int64_t index = (int64_t)ed.caretOffset - ed.pageBase;
    // The bytes of the unit that lie in the file must be in the window.
    int64_t present = 4 - (missing > 0 ? missing : 0);
    if (present > unitBytes()) present = unitBytes();
    if (present < 1) present = 1;
    if (index + present > PAGE_SIZE) {
        ed.textScratch[0] = '\0';
        return;
    }
    formatUnit(ed.textScratch, sizeof ed.textScratch, ed.pageBuffer + index, missing, ed.viewFormat);
}
