// The editor's one process-wide record. Every part of the editor reads and
// writes the open file, the page buffer, the view and the search through it.
// One GUI thread, so plain data without locks.
#ifndef QUILLON_EDITOR_STATE_H
#define QUILLON_EDITOR_STATE_H

#include <windows.h>
#include <stdint.h>

#include "resources/resource.h"

enum {
    PAGE_SIZE = 32752,          // bytes held by the PageBuffer (0x7FF0)
    PATH_CHARS = 256,           // openDir, helpDir, dialog buffers
    NAME_CHARS = 260,           // fileName and the Open dialog's file: MAX_PATH, the longest
                                // path the file functions take, 259 characters and the zero
    RECENT_COUNT = 4,           // entries of the RecentFiles list
    RECENT_CHARS = NAME_CHARS,  // characters of one recent-file entry
    HEADER_CHARS = 40,          // characters of headerLine, " Offset:" at its start
    HEADER_MARK_AT = 25,        // first column of headerLine's read-only mark
    HEADER_MARK_CHARS = 10,     // the mark's field: "READ ONLY" or blanks
    LINE_CHARS = 120,           // line buffer of one composed row
    SCRATCH_CHARS = 52,         // textScratch
    PATTERN_CHARS = 256,        // pattern and the search dialog's texts
    HEX_TEXT_CHARS = 766        // hexadecimal text of a full pattern: 3 x 255 + 1
};

// Bits of searchOptions.
enum {
    SO_TEXT = 0x01,             // text search, else hexadecimal
    SO_FROM_START = 0x02        // search from the beginning, else from the top row
};

// What a search scans for, taken whole when it starts: the pattern, the
// case rule and the byte order.
struct ScanTarget {
    unsigned char pattern[PATTERN_CHARS];
    int32_t length;
    uint8_t foldCase;
    uint8_t swapped;
};

extern const char appCaption[];     // "Quillon for Windows 95   Version 1.4"
extern const char helpFileName[];   // "quillon95.hlp"

struct EditorState {
    // Document
    char fileName[NAME_CHARS];
    wchar_t longFileName[NAME_CHARS];   // on NT, the long name of a file opened by its short
                                        // name, which the title shows; empty: fileName shows
    int32_t fileHandle;
    int32_t fileSize;
    uint8_t readOnly;
    unsigned char *pageBuffer;
    int32_t pageBase;
    uint8_t pageDirty;
    uint8_t flushing;
    uint8_t fileJustOpened;
    char *openDir;                  // heap block of PATH_CHARS
    char *helpDir;                  // heap block of PATH_CHARS: the help file's full path
                                    // (the "HDir" folder and its name), or ""

    // View geometry, scrolling and row layout
    uint16_t charWidth, charHeight;
    HFONT viewFont;
    RECT viewRect;
    int32_t offsetChars, unitChars, unitsPerRow, rowChars;
    int32_t topRow;
    int32_t topRowMax, visibleRows, vScrollScale, vScrollMax;
    int32_t hScrollPos, hScrollMax;
    int32_t topOffset;
    int32_t percent, percentShown;
    char headerLine[HEADER_CHARS + 1];
    char textScratch[SCRATCH_CHARS];

    // Caret, highlighted range and editing
    uint8_t editMode;               // an EditMode
    int32_t caretOffset;            // -1: no caret
    uint8_t caretNibble;
    uint8_t caretShown;
    int32_t selStart, selLength;
    uint8_t selSkipSecond, selSkipPenultimate;
    uint8_t dblClickPending;
    uint8_t dialogOpen;

    // Windows, handles and colours
    HINSTANCE instance;
    HWND mainWnd, hexViewWnd, statusWnd;
    HMENU menu;
    HACCEL accelerators;
    HBITMAP editBitmap, viewBitmap;
    COLORREF textColor, backColor, hiTextColor, hiBackColor;
    char fileTitle[PATH_CHARS];
    uint8_t helpOpened;
    uint8_t winHelp;                // the system has WinHelp: Windows 95 to XP

    // ViewFormat
    uint8_t viewFormat;

    // Go to offset dialog
    int32_t goToInitial;
    char goToText[PATH_CHARS];
    int32_t goToRadix;

    // SearchState
    unsigned char pattern[PATTERN_CHARS];
    int32_t patternLength;
    uint8_t searchOptions;
    uint8_t ignoreCase;
    uint8_t foldCase;
    uint8_t searchRequest;          // a SearchRequest
    uint8_t searching;
    UINT_PTR searchTimer;
    int32_t searchStart;
    int32_t lastFound;
    int32_t lastFoundPosition;      // where the last match begins in display order
    uint8_t findNextReady;
    ScanTarget scanTarget;          // what the running search scans for
    int32_t matchedCount;
    int32_t nextSliceBase;          // where the last slice stopped: the partial match holds only there
    int32_t examinedEnd;            // the bytes below were examined with an earlier target
    int32_t percentInStatus;        // the percentage the status bar shows while searching
    uint8_t finishingSearch;        // finishSearch's message box is up

    // Search dialog's own storage, kept between openings
    char patternText[PATTERN_CHARS];
    char patternHex[HEX_TEXT_CHARS];
    char hexInput[HEX_TEXT_CHARS];
    uint8_t numberFormat;
    unsigned char numberBytes[4];

    // Settings and RecentFiles
    int32_t windowLeft, windowTop, windowWidth, windowHeight;
    int32_t showState;              // a ShowState
    uint8_t placementValuesMissing; // of the five placement values, those not read (5 to 0)
    char recentFiles[RECENT_COUNT][RECENT_CHARS];
    int16_t recentCount;
    uint8_t recentSeparator;
};

extern EditorState ed;

// Puts the record into its start state (zero, with the start values the
// fields document). Start-up calls it once; tests call it between cases.
void resetEditorState();

#endif
