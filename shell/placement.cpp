#include "shell/placement.h"

#include "hexview/scrollmath.h"

namespace {

// Registry values may be anything up to the 32-bit limits: edges are summed
// in 64 bits.
int64_t endOf(int32_t start, int32_t size) { return (int64_t)start + size; }

int64_t smaller(int64_t a, int64_t b) { return a < b ? a : b; }
int64_t larger(int64_t a, int64_t b) { return a > b ? a : b; }

PlaceRect desktopOf(const ScreenSizes &screens)
{
    if (screens.desktop.width > 0 && screens.desktop.height > 0) return screens.desktop;
    PlaceRect primary = {0, 0, screens.screenWidth, screens.screenHeight};
    return primary;
}

PlaceRect workAreaOf(const ScreenSizes &screens)
{
    if (screens.workArea.width > 0 && screens.workArea.height > 0) return screens.workArea;
    PlaceRect primary = {0, 0, screens.screenWidth, screens.screenHeight};
    return primary;
}

// Whether the rectangle from left to right and from top to bottom holds
// the least grab area.
bool grabbable(int64_t left, int64_t right, int64_t top, int64_t bottom)
{
    return right - left >= MIN_GRAB_WIDTH && bottom - top >= MIN_GRAB_HEIGHT;
}

// The caption can be grabbed on the primary screen's work area, or on the
// part of the desktop that lies beside, above or below the primary screen
// (other screens, whose own taskbars are not known). A grab area that lies
// off the primary screen lies wholly on one side of it.
bool captionReachable(const PlaceRect &window, const PlaceRect &desktop, const ScreenSizes &screens)
{
    int64_t captionTop = endOf(window.top, screens.frameHeight);
    int64_t captionBottom = captionTop + screens.captionHeight;
    int64_t windowRight = endOf(window.left, window.width);

    PlaceRect work = workAreaOf(screens);
    if (grabbable(larger(window.left, work.left), smaller(windowRight, endOf(work.left, work.width)),
                  larger(captionTop, work.top), smaller(captionBottom, endOf(work.top, work.height))))
        return true;

    int64_t left = larger(window.left, desktop.left), right = smaller(windowRight, endOf(desktop.left, desktop.width));
    int64_t top = larger(captionTop, desktop.top), bottom = smaller(captionBottom, endOf(desktop.top, desktop.height));
    return grabbable(left, smaller(right, 0), top, bottom) ||
           grabbable(larger(left, screens.screenWidth), right, top, bottom) ||
           grabbable(left, right, top, smaller(bottom, 0)) ||
           grabbable(left, right, larger(top, screens.screenHeight), bottom);
}

// The start of a span of size (no larger than the area) moved the least
// distance that puts it inside the area.
int32_t startInside(int32_t start, int32_t size, int32_t areaStart, int32_t areaSize)
{
    int64_t last = endOf(areaStart, areaSize) - size;
    if (start > last) return (int32_t)last;
    if (start < areaStart) return areaStart;
    return start;
}

// The rectangle shrunk to the area where larger and moved the least distance
// that puts it wholly inside.
PlaceRect fittedInto(const PlaceRect &r, const PlaceRect &area)
{
    PlaceRect placed = r;
    if (placed.width > area.width) placed.width = area.width;
    if (placed.height > area.height) placed.height = area.height;
    placed.left = startInside(placed.left, placed.width, area.left, area.width);
    placed.top = startInside(placed.top, placed.height, area.top, area.height);
    return placed;
}

}  // namespace

PlaceRect placementOnScreen(const PlaceRect &remembered, const ScreenSizes &screens)
{
    PlaceRect desktop = desktopOf(screens);
    if (desktop.width <= 0 || desktop.height <= 0) return remembered;    // nothing to go by
    if (captionReachable(remembered, desktop, screens)) return remembered;
    PlaceRect placed = fittedInto(remembered, desktop);
    if (captionReachable(placed, desktop, screens)) return placed;
    return fittedInto(remembered, workAreaOf(screens));
}

bool clientShowsData(int32_t clientWidth, int32_t clientHeight, const ViewNeeds &needs)
{
    if (needs.cellWidth <= 0 || needs.cellHeight <= 0) return true;    // nothing to go by
    // The view's client area: the main window's less the status bar's band
    // and the view's scroll bars. The first unit ends unitChars characters
    // after the offset column and its two blanks.
    int64_t viewWidth = (int64_t)clientWidth - needs.vScrollWidth;
    if (viewWidth < (int64_t)(needs.offsetChars + 2 + needs.unitChars) * needs.cellWidth) return false;
    bool horizontalBar = horizontalMax(needs.rowChars, (int32_t)viewWidth, needs.cellWidth) > 0;
    int64_t viewHeight = (int64_t)clientHeight - needs.statusBand - (horizontalBar ? needs.hScrollHeight : 0);
    return viewHeight >= 2 * (int64_t)needs.cellHeight;
}
