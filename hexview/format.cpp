#include "document/editor_state.h"
#include "hexview/hexview.h"

void computeRowLayout()
{
    ed.offsetChars = 8;
    ed.unitChars = 2;
    ed.unitsPerRow = 16;
    ed.rowChars = ed.offsetChars + (ed.unitChars + 1) * ed.unitsPerRow + 19;
}

void formatUnitValue(int8_t) { ed.textScratch[0] = '\0'; }
