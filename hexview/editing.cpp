// Keyboard and mouse editing: the view and edit modes, the keys that scroll,
// typed digits and characters, and clicks on the offsets, units and bytes.
#include <windows.h>

#include "dialogs/dialogs.h"
#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/hittest.h"
#include "hexview/scrollmath.h"
#include "shell/statusbar.h"

namespace {

bool swapText() { return (ed.viewFormat & VF_SWAP_TEXT) != 0; }

// 8-bit units shown in hexadecimal: typed digits edit the byte in place.
bool hexBytes()
{
    return (ed.viewFormat & (VF_UNIT_SIZE | VF_HEX_VALUES)) == (VF_UNIT_8 | VF_HEX_VALUES);
}

// The last byte that an edit at offset can change: the byte itself in the
// text column, else the last byte of its unit that lies in the file.
int32_t lastEditedByte(int32_t offset)
{
    if (ed.editMode == MODE_TEXT) return offset;
    int64_t last = (int64_t)offset + unitBytes() - 1;
    return last < ed.fileSize ? (int32_t)last : ed.fileSize - 1;
}

// The bytes under the caret must be in the PageBuffer before they are
// changed. A click can come between a scroll and the paint that loads the
// new rows, so the window is brought to the view (or to the caret) when it
// is not; loading it asks first whether to save the changes. False when
// the bytes cannot be had.
bool loadCaretBytes()
{
    if (ed.caretOffset < 0 || ed.caretOffset >= ed.fileSize) return false;
    int32_t last = lastEditedByte(ed.caretOffset);
    if (pageHolds(ed.caretOffset, last)) return true;
    int32_t top = 16 * ed.topRow;
    if (ed.caretOffset >= top && last - top < PAGE_SIZE) loadPage(top);
    else loadPage(ed.caretOffset - ed.caretOffset % 16);
    return pageHolds(ed.caretOffset, last);
}

// Edit value works on the unit that holds the caret, once the view shows it.
void editCaretUnit()
{
    ed.caretOffset = unitStart(ed.caretOffset);
    if (showCaretCell() && loadCaretBytes()) openEditValueDialog();
}

// A click on a unit of the values column or a byte of the text column:
// view mode highlights it; editing puts the caret on it, in that column
// (mode) and on that digit (nibble).
void markClicked(int32_t offset, int32_t length, uint8_t mode, uint8_t nibble)
{
    setHighlight(offset, length);
    if (ed.editMode == MODE_VIEW) {
        dropCaret();
        showOffsetInStatus();
    } else {
        ed.caretOffset = offset;
        ed.caretNibble = nibble;
        ed.editMode = mode;
        showOffsetInStatus();
        showViewCaret();
    }
    invalidateView();
}

void postScroll(UINT msg, int request)
{
    PostMessageA(ed.hexViewWnd, msg, request, 0);
}

}  // namespace

void showModeBitmap()
{
    if (!ed.menu) return;
    HBITMAP picture = ed.editMode != MODE_VIEW ? ed.editBitmap : ed.viewBitmap;
    ModifyMenuA(ed.menu, IDM_VIEWMODE, MF_BYCOMMAND | MF_BITMAP, IDM_VIEWMODE, (LPCSTR)picture);
    DrawMenuBar(ed.mainWnd);
}

void toggleEditMode()
{
    if (ed.searching) return;
    if (ed.editMode == MODE_VIEW) {
        if (ed.fileSize <= 0) return;
        if (ed.readOnly) {
            MessageBoxA(ed.mainWnd, "Error: The file is read only", appCaption, MB_OK);
            return;
        }
        // The caret starts on the window's first byte where the view shows
        // it, else on the first shown byte: a caret above the view would
        // type over bytes the user cannot see. When the window starts past
        // the end of the file it goes on a byte of the file instead, so no
        // byte past the end is ever typed over. A view that shows no whole
        // row takes no caret; a click on a byte gives one.
        int32_t top = 16 * ed.topRow;
        bool windowShown = !offsetOutsideView(ed.pageBase, ed.topRow, visibleRowsNow());
        int32_t start = editStartOffset(windowShown ? ed.pageBase : top, top, ed.fileSize);
        if (!pageHolds(start, lastEditedByte(start))) loadPage(start - start % 16);
        ed.editMode = MODE_VALUES;
        ed.caretOffset = start;
        setHighlight(start, 1);
        showViewCaret();
        showModeBitmap();
        dropCaretOutOfView();
    } else {
        ed.editMode = MODE_VIEW;
        showModeBitmap();
        flushPage();
        dropCaret();
        clearHighlight();
    }
    showOffsetInStatus();
    invalidateView();
}

void advanceCaret()
{
    ed.caretOffset = nextTypedOffset(ed.caretOffset, ed.editMode == MODE_TEXT && swapText());
    if (ed.caretOffset < 0 || ed.caretOffset >= ed.fileSize) {
        dropCaret();
        setHighlight(0, 0);
        showOffsetInStatus();
        return;
    }
    setHighlight(ed.caretOffset, 1);
    showOffsetInStatus();

    ed.visibleRows = visibleRowsNow();
    int32_t row = rowFollowingCaret(ed.caretOffset, ed.topRow, ed.topRowMax, ed.visibleRows);
    if (row != ed.topRow) {
        ed.topRow = row;
        if (ed.hexViewWnd) SetScrollPos(ed.hexViewWnd, SB_VERT, scrollPosOfRow(ed.topRow), TRUE);
    }
    int32_t t = 16 * ed.topRow;
    ed.topOffset = t;
    if (!pageHolds(t, t + 16 * ed.visibleRows)) loadPage(t);
    // A view that shows no whole row does not follow the caret: it goes, as
    // when scrolling takes it out of the view.
    if (ed.visibleRows < 2) dropCaretOutOfView();
}

void onKeyDown(WPARAM wParam)
{
    int key = (int)(wParam & 0xFF);
    if (key == VK_F3 && ed.findNextReady) PostMessageA(ed.mainWnd, WM_COMMAND, IDM_FINDNEXT, 0);
    if (key == VK_ESCAPE && ed.searching) PostMessageA(ed.mainWnd, WM_COMMAND, IDM_STOPSEARCH, 0);
    // While the caret is in the data the movement keys do nothing.
    if (ed.editMode != MODE_VIEW && ed.caretOffset >= 0) return;

    switch (key) {
    case VK_DOWN:  postScroll(WM_VSCROLL, SB_LINEDOWN); break;
    case VK_UP:    postScroll(WM_VSCROLL, SB_LINEUP); break;
    case VK_NEXT:  postScroll(WM_VSCROLL, SB_PAGEDOWN); break;
    case VK_PRIOR: postScroll(WM_VSCROLL, SB_PAGEUP); break;
    case VK_END:   postScroll(WM_VSCROLL, SB_BOTTOM); break;
    case VK_HOME:  postScroll(WM_VSCROLL, SB_TOP); break;
    case VK_RIGHT: postScroll(WM_HSCROLL, SB_LINERIGHT); break;
    case VK_LEFT:  postScroll(WM_HSCROLL, SB_LINELEFT); break;
    }
}

void onChar(WPARAM wParam)
{
    unsigned char ch = (unsigned char)(wParam & 0xFF);
    // While a search runs the window is the search's: a character would be
    // written into it and pull it back to the caret.
    if (ed.editMode == MODE_VIEW || ed.caretOffset < 0 || ed.searching) return;

    // A key changes only bytes the user sees: the view first shows them.
    if (ed.editMode == MODE_TEXT) {
        if (!showCaretCell() || !loadCaretBytes()) return;
        ed.pageBuffer[ed.caretOffset - ed.pageBase] = ch;
        ed.pageDirty = 1;
        advanceCaret();
        invalidateView();
        return;
    }

    if (!hexBytes()) {
        // Other formats are edited as numbers; the character is not stored.
        editCaretUnit();
        return;
    }
    int value = hexDigitValue(ch);
    if (value < 0 || !showCaretCell() || !loadCaretBytes()) return;
    unsigned char *b = &ed.pageBuffer[ed.caretOffset - ed.pageBase];
    *b = replaceNibble(*b, ed.caretNibble, value);
    ed.pageDirty = 1;
    ed.caretNibble = (uint8_t)((ed.caretNibble + 1) % 2);
    if (ed.caretNibble == 0) advanceCaret();
    invalidateView();
}

void onLButtonUp(LPARAM lParam)
{
    // While a search runs the view shows the window the search reads, and
    // each slice moves it on and clears the highlight: a click is ignored,
    // as typed characters are, and the progress text stays.
    if (ed.searching) {
        ed.dblClickPending = 0;
        return;
    }
    setStatusText("", 0, 0);
    if (ed.fileJustOpened || ed.charWidth == 0 || ed.charHeight == 0) {
        ed.dblClickPending = 0;
        return;
    }
    int32_t x = LOWORD(lParam), y = HIWORD(lParam);
    RowLayout layout = {ed.offsetChars, ed.unitChars, ed.unitsPerRow, ed.rowChars};
    HitTarget hit = hitTest(layout, x / ed.charWidth + ed.hScrollPos, y / ed.charHeight - 1,
                            ed.topRow, ed.fileSize, swapText());
    bool pending = ed.dblClickPending != 0;
    ed.dblClickPending = 0;

    switch (hit.kind) {
    case HIT_OFFSET:
        PostMessageA(ed.mainWnd, WM_COMMAND, IDM_GOTO, hit.offset);
        break;
    case HIT_VALUE:
        // Only 8-bit hexadecimal units have a digit to stand on.
        markClicked(hit.offset, unitBytes(), MODE_VALUES, hexBytes() ? hit.nibble : ed.caretNibble);
        if (pending && ed.editMode != MODE_VIEW) editCaretUnit();
        break;
    case HIT_TEXT:
        markClicked(hit.offset, 1, MODE_TEXT, 0);
        break;
    case HIT_NOTHING:
        break;
    }
}

void onLButtonDblClk()
{
    if (ed.fileJustOpened || ed.editMode == MODE_VIEW) return;
    ed.dblClickPending = 1;
}

void onRButtonUp()
{
    if (ed.fileJustOpened) return;
    dropCaret();
    setHighlight(0, 0);
    showOffsetInStatus();
    setStatusText("", 0, 0);
    invalidateView();
}
