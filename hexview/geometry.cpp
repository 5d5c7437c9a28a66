// The hex view's geometry: the scroll bars over the file's rows, the scroll
// handlers, the caret and the tests painting uses for the highlight and
// the caret.
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "hexview/scrollmath.h"
#include "search/search.h"
#include "shell/statusbar.h"
#include "shell/title.h"

static_assert(SCROLL_LINEUP == SB_LINEUP && SCROLL_LINEDOWN == SB_LINEDOWN &&
                  SCROLL_PAGEUP == SB_PAGEUP && SCROLL_PAGEDOWN == SB_PAGEDOWN &&
                  SCROLL_THUMBPOSITION == SB_THUMBPOSITION &&
                  SCROLL_THUMBTRACK == SB_THUMBTRACK && SCROLL_TOP == SB_TOP &&
                  SCROLL_BOTTOM == SB_BOTTOM && SCROLL_ENDSCROLL == SB_ENDSCROLL,
              "scroll request codes");
static_assert(SB_LINELEFT == SB_LINEUP && SB_LINERIGHT == SB_LINEDOWN &&
                  SB_PAGELEFT == SB_PAGEUP && SB_PAGERIGHT == SB_PAGEDOWN &&
                  SB_LEFT == SB_TOP && SB_RIGHT == SB_BOTTOM,
              "horizontal request codes");

void invalidateView()
{
    if (!ed.hexViewWnd) return;
    InvalidateRect(ed.hexViewWnd, NULL, TRUE);
    // The paint keeps the title's percentage. A view too low to show a row
    // has an empty client area and gets no paint: it is kept here instead.
    RECT client;
    GetClientRect(ed.hexViewWnd, &client);
    if (IsRectEmpty(&client)) updateViewPercent();
}

int32_t firstShownOffset()
{
    if (ed.searching) return ed.pageBase;
    int64_t top = (int64_t)ed.topRow * 16;
    return top > 0x7FFFFFF0 ? 0x7FFFFFF0 : (top < 0 ? 0 : (int32_t)top);
}

int32_t visibleRowsNow()
{
    if (!ed.hexViewWnd || ed.charHeight == 0) return 0;
    RECT client;
    GetClientRect(ed.hexViewWnd, &client);
    return client.bottom / ed.charHeight;
}

void updateViewPercent()
{
    ed.percentShown = ed.percent;
    ed.percent = percentOf(firstShownOffset());
    if (ed.percent != ed.percentShown) updateTitle();
}

namespace {

// The caret and the highlight leave the data; the editing mode stays.
void dropHighlight()
{
    dropCaret();
    clearHighlight();
    showOffsetInStatus();
}

}  // namespace

void dropCaretOutOfView()
{
    if (ed.charHeight) ed.visibleRows = visibleRowsNow();
    if (ed.editMode != MODE_VIEW && ed.caretOffset >= 0 &&
        offsetOutsideView(ed.caretOffset, ed.topRow, ed.visibleRows))
        dropHighlight();
}

void updateScrollRanges()
{
    if (!ed.hexViewWnd || ed.charWidth == 0) return;
    RECT client;
    GetClientRect(ed.hexViewWnd, &client);

    ed.hScrollMax = horizontalMax(ed.rowChars, client.right, ed.charWidth);
    if (ed.hScrollMax == 0) ed.hScrollPos = 0;
    SetScrollRange(ed.hexViewWnd, SB_HORZ, 0, ed.hScrollMax, TRUE);
    if (ed.hScrollPos > ed.hScrollMax) {
        ed.hScrollPos = 0;
        SetScrollPos(ed.hexViewWnd, SB_HORZ, 0, TRUE);
    }

    // The horizontal bar may have appeared or gone.
    GetClientRect(ed.hexViewWnd, &client);
    VerticalRange v = verticalRange(ed.fileSize, client.bottom, ed.charHeight);
    ed.topRowMax = v.topRowMax;
    ed.vScrollScale = v.vScrollScale;
    ed.vScrollMax = v.vScrollMax;
    SetScrollRange(ed.hexViewWnd, SB_VERT, 0, ed.vScrollMax, TRUE);
    SetScrollPos(ed.hexViewWnd, SB_VERT, scrollPosOfRow(ed.topRow), TRUE);

    // Whatever changed the rows (a resize, another View Format, a file
    // opened, the first paint), the caret stays only on a row still shown.
    // A minimized window shows none, but gives them back as they were when
    // it is restored.
    if (!(ed.mainWnd && IsIconic(ed.mainWnd))) dropCaretOutOfView();
    invalidateView();
}

int32_t scrollPosOfRow(int32_t row)
{
    return row / (ed.vScrollScale > 0 ? ed.vScrollScale : 1);
}

void showViewCaret()
{
    if (ed.caretShown) return;
    ShowCaret(ed.hexViewWnd);
    ed.caretShown = 1;
}

void hideViewCaret()
{
    if (!ed.caretShown) return;
    HideCaret(ed.hexViewWnd);
    ed.caretShown = 0;
}

void dropCaret()
{
    hideViewCaret();
    ed.caretOffset = -1;
}

void placeCaret(int32_t row, int32_t column)
{
    if (ed.editMode == MODE_VIEW || ed.dialogOpen) return;
    int32_t x = caretColumn(ed.viewFormat, ed.editMode, column, ed.caretNibble) - ed.hScrollPos;
    SetCaretPos(x * ed.charWidth, (row + 1) * ed.charHeight + ed.charHeight - 1);
}

void setHighlight(int32_t start, int32_t length, uint8_t skipSecond, uint8_t skipPenultimate)
{
    ed.selStart = start;
    ed.selLength = length;
    ed.selSkipSecond = skipSecond;
    ed.selSkipPenultimate = skipPenultimate;
}

void clearHighlight()
{
    ed.selLength = 0;
    ed.selSkipSecond = 0;
    ed.selSkipPenultimate = 0;
}

bool rowCaretColumn(int32_t rowStart, int32_t *column)
{
    if (ed.caretOffset < 0) return false;
    int64_t c = (int64_t)ed.caretOffset - rowStart;
    if (c < 0 || c >= 16) return false;
    *column = (int32_t)c;
    return true;
}

void onVScroll(WPARAM wParam)
{
    if (ed.searching) stopSearch();
    setStatusText("", 0, 0);

    int32_t oldRow = ed.topRow;
    if (ed.charHeight) ed.visibleRows = visibleRowsNow();
    ed.topRow = scrolledRow(LOWORD(wParam), HIWORD(wParam), ed.topRow, ed.topRowMax,
                            ed.visibleRows, ed.vScrollScale);
    if (ed.topRow == oldRow) return;
    SetScrollPos(ed.hexViewWnd, SB_VERT, scrollPosOfRow(ed.topRow), TRUE);

    dropCaretOutOfView();
    if (ed.selLength != 0 && offsetOutsideView(ed.selStart, ed.topRow, ed.visibleRows))
        dropHighlight();
    invalidateView();
}

namespace {

// The first displayed column, with the scroll bar and the view following.
void scrollToColumn(int32_t pos)
{
    if (pos == ed.hScrollPos) return;
    ed.hScrollPos = pos;
    SetScrollPos(ed.hexViewWnd, SB_HORZ, pos, TRUE);
    invalidateView();
}

}  // namespace

void onHScroll(WPARAM wParam)
{
    scrollToColumn(scrolledColumn(LOWORD(wParam), HIWORD(wParam), ed.hScrollPos, ed.hScrollMax));
}

bool showCaretCell()
{
    if (!ed.hexViewWnd || ed.charWidth == 0 || ed.caretOffset < 0) return true;
    RECT client;
    GetClientRect(ed.hexViewWnd, &client);
    ColumnRun cell = caretCell(ed.viewFormat, ed.editMode, ed.caretOffset % ROW_BYTES);
    int32_t pos = columnShowing(cell.first, cell.count, ed.hScrollPos, ed.hScrollMax,
                                client.right / ed.charWidth);
    if (pos < 0) return false;
    scrollToColumn(pos);
    return true;
}

void measureViewRect(HWND mainWnd)
{
    GetClientRect(mainWnd, &ed.viewRect);
    ed.viewRect.bottom -= STATUS_BAND;
}

void sizeView(HWND mainWnd)
{
    measureViewRect(mainWnd);
    if (ed.hexViewWnd)
        MoveWindow(ed.hexViewWnd, ed.viewRect.left, ed.viewRect.top, ed.viewRect.right,
                   ed.viewRect.bottom - ed.viewRect.top, TRUE);
    if (ed.statusWnd) SendMessageA(ed.statusWnd, WM_SIZE, 0, 0);
    updateScrollRanges();
}

void onSetFocus()
{
    if (ed.charWidth != 0) {
        CreateCaret(ed.hexViewWnd, NULL, ed.charWidth, 0);
        ed.caretShown = 0;  // a new caret starts hidden
    }
    if (ed.editMode != MODE_VIEW && ed.caretOffset >= 0) showViewCaret();
}

void onKillFocus()
{
    DestroyCaret();
    ed.caretShown = 0;
}
