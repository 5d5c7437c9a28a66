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

// Rows the paint draws from topOffset on: the visible ones inside the file.
int32_t rowsShown(int32_t topOffset, int32_t visibleRows)
{
    int64_t rows = ((int64_t)ed.fileSize - topOffset + 15) / 16;
    if (rows < 0) rows = 0;
    return rows < visibleRows ? (int32_t)rows : visibleRows;
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

    ed.topOffset = firstShownOffset();
    ed.visibleRows = visibleRowsNow();
    if (!pageHolds(ed.topOffset, viewEndOffset(ed.topOffset, ed.visibleRows)))
        loadPage(ed.topOffset);

    int64_t index = (int64_t)ed.topOffset - ed.pageBase;
    int64_t rowOffset = ed.topOffset;
    char line[LINE_CHARS + 1];
    ColumnRun runs[MAX_HIGHLIGHT_RUNS];
    int32_t rows = rowsShown(ed.topOffset, ed.visibleRows);
    SetTextColor(dc, ed.textColor);
    SetBkColor(dc, ed.backColor);
    for (int32_t r = 0; r < rows; ++r) {
        // Only bytes inside the window are ever read.
        int64_t present = ed.fileSize - rowOffset;
        if (present > ROW_BYTES) present = ROW_BYTES;
        if (index < 0 || index + present > PAGE_SIZE) break;

        composeRow(line, sizeof line, ed.pageBuffer + index, (int32_t)rowOffset, ed.fileSize,
                   ed.viewFormat);
        drawLine(dc, r + 1, line);

        int32_t n = highlightRuns(runs, MAX_HIGHLIGHT_RUNS, ed.viewFormat, (int32_t)rowOffset,
                                  ed.selStart, ed.selLength, ed.selSkipSecond != 0,
                                  ed.selSkipPenultimate != 0);
        if (n > 0) {
            SetTextColor(dc, ed.hiTextColor);
            SetBkColor(dc, ed.hiBackColor);
            for (int32_t k = 0; k < n; ++k) drawColumns(dc, r + 1, line, runs[k].first, runs[k].count);
            SetTextColor(dc, ed.textColor);
            SetBkColor(dc, ed.backColor);
        }

        int32_t column;
        if (ed.caretOffset >= 0 && !ed.dialogOpen && rowCaretColumn((int32_t)rowOffset, &column))
            placeCaret(r, column);

        index += ROW_BYTES;
        rowOffset += ROW_BYTES;
    }
}

}  // namespace

BOOL eraseView(HWND wnd, HDC dc)
{
    RECT client;
    GetClientRect(wnd, &client);
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    // The paint draws the header and every shown row whole, with an opaque
    // background: only the rest is filled here, so no pixel is written twice.
    // While the save prompt is up, or before the cell is known, all of it is.
    int32_t top = firstShownOffset();
    int32_t rows = rowsShown(top, visibleRowsNow());
    if (ed.flushing || ed.charWidth == 0 || (int64_t)16 * rows > PAGE_SIZE) {
        FillRect(dc, &client, brush);
        return TRUE;
    }
    int32_t headerRight = ed.hScrollPos <= HEADER_CHARS - 1 ? (HEADER_CHARS - ed.hScrollPos) * ed.charWidth : 0;
    int32_t rowRight = ed.rowChars > ed.hScrollPos ? (ed.rowChars - ed.hScrollPos) * ed.charWidth : 0;
    if (rows == 0) rowRight = 0;
    RECT r;
    SetRect(&r, headerRight, 0, client.right, ed.charHeight);
    FillRect(dc, &r, brush);
    SetRect(&r, rowRight, ed.charHeight, client.right, (rows + 1) * ed.charHeight);
    FillRect(dc, &r, brush);
    SetRect(&r, 0, (rows + 1) * ed.charHeight, client.right, client.bottom);
    FillRect(dc, &r, brush);
    return TRUE;
}

void paintView(HWND wnd)
{
    bool measured = ed.charWidth != 0;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    // While the save prompt is up nothing is drawn over the erased view.
    if (!ed.flushing) paintRows(dc);
    EndPaint(wnd, &ps);
    // The window took the focus before the cell was known, when no caret
    // could be made for it: it is made now. Not inside the paint, whose end
    // shows the caret it hid at its start, and would show a new one too.
    if (!measured && ed.charWidth != 0 && GetFocus() == ed.mainWnd) onSetFocus();

    if (ed.fileJustOpened && ed.fileSize > 0) ed.fileJustOpened = 0;
    updateViewPercent();
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
