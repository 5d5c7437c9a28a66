// The incremental search: started by Find and Find Next, advanced one
// window per slice from the message loop's timer ticks, ended by a match,
// by the end of the file or by the user.
#include <windows.h>
#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "runtime/format.h"
#include "search/matcher.h"
#include "search/search.h"
#include "shell/statusbar.h"
#include "shell/title.h"

namespace {

// How a search ended.
enum SearchEnd {
    SEARCH_FOUND,           // lastFound holds the match
    SEARCH_NOT_FOUND,       // the end of the file came first
    SEARCH_STOPPED,         // the user stopped it
    SEARCH_NO_TIMER         // no timer could be had for its next tick
};

uint8_t swappedOrder()
{
    return (uint8_t)((ed.searchOptions & SO_TEXT) && (ed.viewFormat & VF_SWAP_TEXT));
}

// What the pattern, the case rule and the byte order ask for now.
ScanTarget currentTarget()
{
    ScanTarget target;
    memcpy(target.pattern, ed.pattern, sizeof target.pattern);
    target.length = ed.patternLength;
    target.foldCase = ed.foldCase;
    target.swapped = swappedOrder();
    return target;
}

bool sameTarget(const ScanTarget &a, const ScanTarget &b)
{
    return a.length == b.length && a.foldCase == b.foldCase && a.swapped == b.swapped &&
           memcmp(a.pattern, b.pattern, (size_t)a.length) == 0;
}

// The view shows the window the search reads, and the title its percent.
// The paint also moves percent, so the status text keeps its own last
// value, percentInStatus, and no whole percentage is skipped.
void showProgress()
{
    updateViewPercent();
    if (ed.percent != ed.percentInStatus) {
        ed.percentInStatus = ed.percent;
        formatText(ed.textScratch, sizeof ed.textScratch, "Searching %i %c\n", (int)ed.percent, '%');
        setStatusText(ed.textScratch, 0, 0);
    }
}

// The pattern or its options changed under the running search (the Search
// dialog keeps its edits even when it is cancelled, the View Format dialog
// changes the byte order). The partial match was counted against the old
// ones and is dropped. Every byte before the window was examined with the
// old ones, and none from the window on: the scan goes back just far enough
// to see an occurrence of the new pattern that begins before the window and
// runs on into it, whatever the old pattern had matched there. searchStart
// moves with it, and nothing before the search's own start is reported;
// nor is an occurrence that lies wholly in the examined bytes (examinedEnd),
// which in swapped order can show after the first unexamined byte.
void retarget()
{
    ed.scanTarget = currentTarget();
    ed.matchedCount = 0;
    ed.examinedEnd = ed.pageBase;
    ed.searchStart = rescanStart(ed.pageBase, ed.searchStart, ed.scanTarget.length, ed.scanTarget.swapped);
    int32_t base = firstSliceBase(ed.searchStart, ed.scanTarget.swapped);
    if (base == ed.pageBase) return;
    loadPage(base);
    showProgress();     // the title and the status follow the window back
}

// The match at lastFound is highlighted and scrolled to the top row; the
// status bar says where it is.
void showMatch()
{
    Highlight h = matchHighlight(ed.lastFoundPosition, ed.scanTarget.length, ed.scanTarget.swapped);
    setHighlight(h.start, h.length, h.skipSecond, h.skipPenultimate);
    dropCaret();
    showOffsetInStatus();
    ed.topRow = ed.lastFound / 16;
    if (ed.topRow < 0) ed.topRow = 0;
    ed.percent = percentOf(ed.pageBase);
    SetScrollPos(ed.hexViewWnd, SB_VERT, scrollPosOfRow(ed.topRow), TRUE);
    EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_ENABLED);
    ed.findNextReady = 1;
    formatText(ed.textScratch, sizeof ed.textScratch,
               (ed.viewFormat & VF_HEX_OFFSETS) ? "Found at: %lx (HEX)" : "Found at: %lu (DEC)",
               (unsigned long)ed.lastFound);
    setStatusText(ed.textScratch, 0, 0);
}

const char *endText(SearchEnd end)
{
    switch (end) {
    case SEARCH_STOPPED: return "Search aborted";
    case SEARCH_NO_TIMER: return "No timer is free for the search. Close another program, then search again.";
    default: return "Not Found";
    }
}

// The end of every search. Without a match the box says why, and Find Next
// is withdrawn.
void finishSearch(SearchEnd end)
{
    KillTimer(NULL, ed.searchTimer);
    ed.searchTimer = 0;
    ed.finishingSearch = 1;
    if (end == SEARCH_FOUND) {
        showMatch();
    } else {
        ed.lastFound = -1;
        EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_GRAYED);
        ed.findNextReady = 0;
        setStatusText("", 0, 0);
        MessageBoxA(ed.mainWnd, endText(end), "Search", MB_OK);
        // A stopped search leaves the caret and the highlight as they are.
        if (end == SEARCH_NOT_FOUND) {
            dropCaret();
            clearHighlight();
            showOffsetInStatus();
        }
    }
    ed.finishingSearch = 0;
    ed.searching = 0;
    EnableMenuItem(ed.menu, IDM_STOPSEARCH, MF_BYCOMMAND | MF_GRAYED);
    invalidateView();
}

}  // namespace

void startSearch(SearchRequest request)
{
    // searchStart is where the search begins in display order: in plain
    // order a file offset. Find Next goes on after the first position that
    // shows a byte of the last match in the order shown now: in swapped
    // order two matches can begin with the same pair, and after a change of
    // order the match's bytes show elsewhere.
    uint8_t swapped = swappedOrder();
    if (request == SEARCH_FIND_NEXT) {
        // Find Next: only after a match, and only while it is offered.
        ed.searchRequest = SEARCH_FIND_NEXT;
        if (ed.lastFound == -1 || ed.fileSize == 0 || !ed.findNextReady) return;
        ed.searchStart = findNextStart(ed.lastFound, ed.lastFoundPosition, ed.scanTarget.length,
                                       ed.scanTarget.swapped, swapped);
    } else {
        // The first byte the view shows: while a search runs, that of the
        // window it reads, which the view follows.
        ed.searchStart = (ed.searchOptions & SO_FROM_START) ? 0 : firstShownOffset();
    }
    ed.scanTarget = currentTarget();
    ed.examinedEnd = 0;
    ed.nextSliceBase = firstSliceBase(ed.searchStart, ed.scanTarget.swapped);
    loadPage(ed.nextSliceBase);
    ed.matchedCount = 0;

    setStatusText("Searching", 0, 0);
    ed.percentInStatus = ed.percent;
    bool wasSearching = ed.searching != 0;
    ed.searching = 1;
    EnableMenuItem(ed.menu, IDM_STOPSEARCH, MF_BYCOMMAND | MF_ENABLED);
    invalidateView();

    if (wasSearching) KillTimer(NULL, ed.searchTimer);
    armSearchTimer();
}

// Windows 95 takes its timers from a small pool that every program shares.
// A search that gets none would never tick: it ends at once, as a stopped
// search does, and says why.
void armSearchTimer()
{
    ed.searchTimer = SetTimer(NULL, 0, 1, NULL);
    if (ed.searchTimer == 0) finishSearch(SEARCH_NO_TIMER);
}

void searchStep()
{
    if (!ed.searching) return;
    clearHighlight();       // nothing is highlighted while the search runs
    if (ed.pageBase >= ed.fileSize) {
        finishSearch(SEARCH_NOT_FOUND);
        return;
    }
    showProgress();

    // A partial match goes on only in the window that follows the bytes it
    // was counted in: a window loaded elsewhere between two slices would
    // join bytes that do not follow each other.
    if (ed.pageBase != ed.nextSliceBase) ed.matchedCount = 0;
    if (!sameTarget(ed.scanTarget, currentTarget())) retarget();
    const ScanTarget &target = ed.scanTarget;
    if (target.swapped && ed.pageBase + 1 >= ed.fileSize) {
        finishSearch(SEARCH_NOT_FOUND);
        return;
    }

    MatchQuery query = {target.pattern, target.length, target.foldCase, target.swapped, ed.searchStart,
                        ed.fileSize, ed.examinedEnd};
    SliceResult r = matchSlice(ed.pageBuffer, ed.pageBase, PAGE_SIZE, query, ed.matchedCount);
    if (r.found) {
        ed.matchedCount = 0;
        ed.lastFound = r.matchStart;
        ed.lastFoundPosition = r.displayStart;
        finishSearch(SEARCH_FOUND);
        return;
    }
    ed.matchedCount = r.matchedCount;
    ed.nextSliceBase = r.nextBase;
    if (ed.searching && ed.pageBase < ed.fileSize) loadPage(r.nextBase);
}

void stopSearch()
{
    // A Stop Search that arrives through the message loop of finishSearch's
    // box does not end the search a second time.
    if (ed.searching && !ed.finishingSearch) finishSearch(SEARCH_STOPPED);
}
