// The hex view: geometry, scroll bars and caret; painting; keyboard and
// mouse editing; the row layout of the current ViewFormat.
#ifndef QUILLON_HEXVIEW_H
#define QUILLON_HEXVIEW_H

#include <windows.h>
#include <stdint.h>

LRESULT CALLBACK hexViewProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Pixels kept free below the view, at the bottom of the main window's
// client area, for the status bar.
enum { STATUS_BAND = 20 };

// Row layout and unit text (the ViewFormat of the EditorState)
void computeRowLayout();
void formatUnitValue(int8_t missingBytes);
int32_t unitBytes();                // bytes of one unit: 1, 2 or 4
// The first byte of the unit that holds offset: units start at multiples of
// their size, and the caret in the values column stands on that byte.
int32_t unitStart(int32_t offset);

// Geometry, scrolling and caret
void invalidateView();              // the whole view, erasing the background
// Offset of the first displayed byte: the first displayed row, or, while a
// search runs, the window the search is reading.
int32_t firstShownOffset();
// The lines the view shows whole, the header's included: those of its
// client area, which leaves out the horizontal scroll bar where it shows.
// The paint draws one more, the part row below them.
int32_t visibleRowsNow();
// The view's position in percent from its first displayed byte; the title
// is set again when it changed.
void updateViewPercent();
// The scroll bars after the rows or their layout changed; a caret whose
// row is no longer shown whole goes (dropCaretOutOfView).
void updateScrollRanges();
int32_t scrollPosOfRow(int32_t row);
void showViewCaret();
void hideViewCaret();
void dropCaret();
// In an editing mode, a caret whose byte is not on a whole shown row leaves
// with its highlight, as when scrolling takes it out of the view: the next
// key would change a byte the user cannot see. The mode stays.
void dropCaretOutOfView();
void placeCaret(int32_t row, int32_t column);
// Before a key changes the bytes at the caret: the view shows the caret's
// whole unit or byte, scrolled sideways as little as that needs. False,
// and nothing moved, when the view is too narrow to show it.
bool showCaretCell();
// The highlighted range: length bytes from start, none for 0. The skip
// flags leave out byte 1 and byte length - 2, the halves of pairs that a
// match in swapped order shares with bytes outside it.
void setHighlight(int32_t start, int32_t length, uint8_t skipSecond = 0, uint8_t skipPenultimate = 0);
// Nothing highlighted. The start stays: while the values column is edited,
// View Format highlights the unit there again.
void clearHighlight();
bool rowCaretColumn(int32_t rowStart, int32_t *column);
void onVScroll(WPARAM wParam);
void onHScroll(WPARAM wParam);
// viewRect: the main window's client area above the status band.
void measureViewRect(HWND mainWnd);
void sizeView(HWND mainWnd);        // the view's part of the main window's WM_SIZE
void onSetFocus();
void onKillFocus();

// Painting
void paintView(HWND wnd);
BOOL eraseView(HWND wnd, HDC dc);   // WM_ERASEBKGND: what the paint leaves uncovered
void drawLine(HDC dc, int32_t line, const char *text);
void drawColumns(HDC dc, int32_t line, const char *text, int32_t firstColumn, int32_t count);

// Keyboard and mouse editing
void toggleEditMode();
void advanceCaret();
void onKeyDown(WPARAM wParam);
void onChar(WPARAM wParam);
void onLButtonUp(LPARAM lParam);
void onLButtonDblClk();
void onRButtonUp();
void showModeBitmap();              // menu-bar item 204 shows the current mode

#endif
