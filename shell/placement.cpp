#include "shell/placement.h"

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

// Pixels of the span [start, start + size) that lie in [areaStart, areaStart + areaSize).
int64_t overlap(int64_t start, int64_t size, int32_t areaStart, int32_t areaSize)
{
    return smaller(start + size, endOf(areaStart, areaSize)) - larger(start, areaStart);
}

bool captionReachable(const PlaceRect &window, const PlaceRect &desktop, const ScreenSizes &screens)
{
    int64_t captionTop = endOf(window.top, screens.frameHeight);
    return overlap(window.left, window.width, desktop.left, desktop.width) >= MIN_GRAB_WIDTH &&
           overlap(captionTop, screens.captionHeight, desktop.top, desktop.height) >= MIN_GRAB_HEIGHT;
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

}  // namespace

PlaceRect placementOnScreen(const PlaceRect &remembered, const ScreenSizes &screens)
{
    PlaceRect desktop = desktopOf(screens);
    if (desktop.width <= 0 || desktop.height <= 0) return remembered;    // nothing to go by
    if (captionReachable(remembered, desktop, screens)) return remembered;
    PlaceRect placed = remembered;
    if (placed.width > desktop.width) placed.width = desktop.width;
    if (placed.height > desktop.height) placed.height = desktop.height;
    placed.left = startInside(placed.left, placed.width, desktop.left, desktop.width);
    placed.top = startInside(placed.top, placed.height, desktop.top, desktop.height);
    return placed;
}
