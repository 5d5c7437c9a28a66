// Where the main window opens: a remembered rectangle whose caption the user
// could not reach is brought onto the desktop, and one too small to show
// any data is not used. No window is needed here.
#ifndef QUILLON_PLACEMENT_H
#define QUILLON_PLACEMENT_H

#include <stdint.h>

struct PlaceRect {
    int32_t left, top, width, height;
};

// What the system reports of its screens and of a window's caption.
struct ScreenSizes {
    PlaceRect desktop;                  // the virtual screen; all 0 where there is none
    int32_t screenWidth, screenHeight;  // the primary screen
    int32_t frameHeight;                // rows of the sizing frame above the caption
    int32_t captionHeight;              // rows of the caption
    PlaceRect workArea;                 // the primary screen less the taskbar; all 0 if unknown
};

// The least part of the caption that must lie on the desktop for the user to
// grab it. Where only its right end shows, the three caption buttons take
// about 52 pixels of it at Windows 95's standard sizes, which leaves bare
// caption to drag by; its left end shows the system menu icon and the title.
// Eight rows are about half the caption.
enum {
    MIN_GRAB_WIDTH = 64,
    MIN_GRAB_HEIGHT = 8
};

// The rectangle to open the window with, given the one the window really
// has at the remembered place (the system cuts a size beyond its largest
// window). It is kept as it is when at least MIN_GRAB_WIDTH x
// MIN_GRAB_HEIGHT pixels of its caption lie on the primary screen's work
// area, where the taskbar does not cover them, or on another screen of the
// desktop. Otherwise it is shrunk to the desktop where larger and moved the
// least distance that puts it wholly inside, so one already inside stays
// put; where the taskbar still covers the caption there, it goes into the
// work area instead. The desktop is the virtual screen, or the primary
// screen where the system reports no virtual screen.
PlaceRect placementOnScreen(const PlaceRect &remembered, const ScreenSizes &screens);

// What the main window's client area must hold to show the header line and
// one data row of the view.
struct ViewNeeds {
    int32_t statusBand;                 // pixels kept below the view for the status bar
    int32_t vScrollWidth, hScrollHeight;
    int32_t cellWidth, cellHeight;      // the view's character cell
    int32_t offsetChars, unitChars;     // the row layout: the first unit must show
    int32_t rowChars;                   // a narrower view shows the horizontal bar
};

// Whether a main window with this client area shows the header line and the
// first unit of one data row.
bool clientShowsData(int32_t clientWidth, int32_t clientHeight, const ViewNeeds &needs);

#endif
