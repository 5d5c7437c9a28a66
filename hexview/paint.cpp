// Painting: the header line and the visible rows, composed from the
// PageBuffer, with the highlighted range drawn over them, the caret placed
// and the window of the file moved when the rows have left it.
#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "hexview/scrollmath.h"
#include "shell/statusbar.h"

namespace {

void measureCell(HDC dc)
{
    SIZE cell;
    if (!GetTextExtentPointA(dc, "0", 1, &cell)) return;
    ed.charWidth = (uint16_t)cell.cx;
    ed.charHeight = (uint16_t)cell.cy;
    updateScrollRanges();
}

void paintRows(HDC dc)
{
    SelectObject(dc, ed.viewFont);
    if (ed.charWidth == 0) measureCell(dc);
    if (ed.charWidth == 0 || ed.charHeight == 0) return;

    if (ed.hScrollPos <= HEADER_CHARS - 1) {
        SetTextColor(dc, ed.textColor);
        SetBkColor(dc, ed.backColor);
        TextOutA(dc, 0, 0, ed.headerLine + ed.hScrollPos, HEADER_CHARS - ed.hScrollPos);
    }

    if (ed.searching) {
        ed.topOffset = ed.pageBase;
    } else {
        int64_t top = (int64_t)ed.topRow * 16;
        ed.topOffset = top > 0x7FFFFFF0 ? 0x7FFFFFF0 : (top < 0 ? 0 : (int32_t)top);
    }
    ed.visibleRows = ed.viewRect.bottom / ed.charHeight;
    if (!pageHolds(ed.topOffset, viewEndOffset(ed.topOffset, ed.visibleRows)))
        loadPage(ed.topOffset);

    ed.percentShown = ed.percent;
    ed.percent = percentOf(ed.topOffset);

    int64_t index = (int64_t)ed.topOffset - ed.pageBase;
    int64_t rowOffset = ed.topOffset;
    char line[LINE_CHARS + 1];
    ColumnRun runs[MAX_HIGHLIGHT_RUNS];
    for (int32_t r = 0; r < ed.visibleRows && rowOffset < ed.fileSize; ++r) {
        // Only bytes inside the window are ever read.
        int64_t present = ed.fileSize - rowOffset;
        if (present > ROW_BYTES) present = ROW_BYTES;
        if (index < 0 || index + present > PAGE_SIZE) break;

        composeRow(line, sizeof line, ed.pageBuffer + index, (int32_t)rowOffset, ed.fileSize,
                   ed.viewFormat);
        SetTextColor(dc, ed.textColor);
        SetBkColor(dc, ed.backColor);
        drawLine(dc, r + 1, line);

        int32_t n = highlightRuns(runs, MAX_HIGHLIGHT_RUNS, ed.viewFormat, (int32_t)rowOffset,
                                  ed.selStart, ed.selLength, ed.selSkipSecond != 0,
                                  ed.selSkipPenultimate != 0);
        if (n > 0) {
            SetTextColor(dc, ed.hiTextColor);
            SetBkColor(dc, ed.hiBackColor);
            for (int32_t k = 0; k < n; ++k) drawColumns(dc, r + 1, line, runs[k].first, runs[k].count);
        }

        int32_t column;
        if (ed.caretOffset >= 0 && !ed.dialogOpen && rowCaretColumn((int32_t)rowOffset, &column))
            placeCaret(r, column);

        index += ROW_BYTES;
        rowOffset += ROW_BYTES;
    }
}

}  // namespace

void paintView(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    // While the save prompt is up nothing is drawn over the erased view.
    if (!ed.flushing) paintRows(dc);
    EndPaint(wnd, &ps);

    if (ed.fileJustOpened && ed.fileSize > 0) ed.fileJustOpened = 0;
    if (ed.percent != ed.percentShown) updateTitle();
}

void drawLine(HDC dc, int32_t line, const char *text)
{
    int32_t length = (int32_t)strlen(text);
    int32_t count = (ed.rowChars < length ? ed.rowChars : length) - ed.hScrollPos;
    if (count <= 0) return;
    TextOutA(dc, 0, line * ed.charHeight, text + ed.hScrollPos, count);
}

void drawColumns(HDC dc, int32_t line, const char *text, int32_t firstColumn, int32_t count)
{
    TextOutA(dc, (firstColumn - ed.hScrollPos) * ed.charWidth, line * ed.charHeight,
             text + firstColumn, count);
}
