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

namespace {

uint8_t swappedOrder()
{
    return (uint8_t)((ed.searchOptions & SO_TEXT) && (ed.viewFormat & VF_SWAP_TEXT));
}

void clearPartialMatch()
{
    ed.matchedCount = 0;
    ed.matchStart = ed.fileSize;
    ed.selSkipPenultimate = 0;
    ed.selSkipSecond = 0;
}

// What the search scans for: the pattern, the case rule and the byte order.
void takeScanTarget()
{
    ed.scanLength = ed.patternLength;
    ed.scanFold = ed.foldCase;
    ed.scanSwapped = swappedOrder();
    memcpy(ed.scanPattern, ed.pattern, sizeof ed.scanPattern);
}

bool scanTargetChanged()
{
    return ed.scanLength != ed.patternLength || ed.scanFold != ed.foldCase ||
           ed.scanSwapped != swappedOrder() ||
           memcmp(ed.scanPattern, ed.pattern, (size_t)ed.patternLength) != 0;
}

void notFound()
{
    ed.lastFound = -1;
    finishSearch(false);
}

// The paint also moves percent (it shows the rows from pageBase during a
// search), so the status text keeps its own last value, percentInStatus,
// and no whole percentage is skipped.
void showProgress()
{
    ed.percentShown = ed.percent;
    ed.percent = percentOf(ed.pageBase);
    if (ed.percent != ed.percentShown) updateTitle();
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
// moves with it, so an occurrence that lies wholly in the examined bytes is
// not reported, and nothing before the search's own start is.
void retarget()
{
    takeScanTarget();
    clearPartialMatch();
    ed.searchStart = rescanStart(ed.pageBase, ed.searchStart, ed.scanLength, ed.scanSwapped);
    int32_t base = firstSliceBase(ed.searchStart, ed.scanSwapped);
    if (base == ed.pageBase) return;
    loadPage(base);
    showProgress();     // the title and the status follow the window back
}

// The end of every search. abortText: the search was stopped before its
// end, and the box tells the user so; NULL: it ended with a match or at the
// end of the file.
void endSearch(const char *abortText)
{
    KillTimer(NULL, ed.searchTimer);
    ed.searchTimer = 0;
    ed.finishingSearch = 1;
    if (abortText) {
        EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_GRAYED);
        ed.findNextReady = 0;
        setStatusText("", 0, 0);
        MessageBoxA(ed.mainWnd, abortText, "Search", MB_OK);
    } else if (ed.lastFound < 0) {
        EnableMenuItem(ed.menu, IDM_FINDNEXT, MF_BYCOMMAND | MF_GRAYED);
        ed.findNextReady = 0;
        setStatusText("", 0, 0);
        MessageBoxA(ed.mainWnd, "Not Found", "Search", MB_OK);
        dropCaret();
        ed.selLength = 0;
        ed.selSkipPenultimate = 0;
        ed.selSkipSecond = 0;
        showOffsetInStatus();
    } else {
        // The highlight spans whole pairs in swapped order; the flags set by
        // the slice leave out the pair halves that are not part of the match.
        int32_t length = ed.scanLength;
        if (ed.scanSwapped && length > 1) {
            length += ed.selSkipSecond;
            ed.selSkipPenultimate = (uint8_t)(length & 1);
            length += ed.selSkipPenultimate;
        }
        ed.selStart = ed.lastFound;
        ed.selLength = length;
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
    ed.finishingSearch = 0;
    ed.searching = 0;
    EnableMenuItem(ed.menu, IDM_STOPSEARCH, MF_BYCOMMAND | MF_GRAYED);
    invalidateView();
}

}  // namespace

void startSearch(SearchRequest request)
{
    // searchStart is where the search begins in display order: in plain
    // order a file offset; in swapped order Find Next goes on from the
    // position after the last match's first byte, since two matches there
    // can begin with the same pair.
    uint8_t swapped = swappedOrder();
    if (request == SEARCH_FIND_NEXT) {
        // Find Next: only after a match, and only while it is offered.
        ed.searchRequest = SEARCH_FIND_NEXT;
        if (ed.lastFound == -1 || ed.fileSize == 0 || !ed.findNextReady) return;
        ed.searchStart = (swapped && ed.scanSwapped ? ed.lastFoundPosition : ed.lastFound) + 1;
    } else {
        ed.searchStart = (ed.searchOptions & SO_FROM_START) ? 0 : 16 * ed.topRow;
    }
    takeScanTarget();
    ed.nextSliceBase = firstSliceBase(ed.searchStart, ed.scanSwapped);
    loadPage(ed.nextSliceBase);

    clearPartialMatch();

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
    if (ed.searchTimer != 0) return;
    ed.lastFound = -1;
    endSearch("No timer is free for the search. Close another program, then search again.");
}

void searchStep()
{
    if (!ed.searching) return;
    ed.selLength = 0;
    if (ed.pageBase >= ed.fileSize) {
        notFound();
        return;
    }
    showProgress();

    ed.scanIndex = 0;
    // A partial match goes on only in the window that follows the bytes it
    // was counted in: a window loaded elsewhere between two slices would
    // join bytes that do not follow each other.
    if (ed.matchedCount == 0 || ed.pageBase != ed.nextSliceBase) clearPartialMatch();
    if (scanTargetChanged()) retarget();
    uint8_t swapped = ed.scanSwapped;
    if (swapped && ed.pageBase + 1 >= ed.fileSize) {
        notFound();
        return;
    }

    MatchQuery query = {ed.scanPattern, ed.scanLength, ed.scanFold, swapped, ed.searchStart, ed.fileSize};
    SliceResult r = matchSlice(ed.pageBuffer, ed.pageBase, PAGE_SIZE, query, ed.matchedCount);
    ed.scanIndex = r.nextBase - ed.pageBase;
    if (r.found) {
        Highlight h = matchHighlight(r.displayStart, ed.scanLength, swapped);
        ed.matchedCount = 0;
        ed.matchStart = r.matchStart;
        ed.selSkipSecond = h.skipSecond;
        ed.selSkipPenultimate = h.skipPenultimate;
        ed.lastFound = r.matchStart;
        ed.lastFoundPosition = r.displayStart;
        finishSearch(false);
        return;
    }
    ed.matchedCount = r.matchedCount;
    ed.matchStart = r.matchStart;
    ed.nextSliceBase = r.nextBase;
    if (ed.searching && ed.pageBase < ed.fileSize) loadPage(r.nextBase);
}

void stopSearch()
{
    // A Stop Search that arrives through the message loop of finishSearch's
    // box does not end the search a second time.
    if (!ed.searching || ed.finishingSearch) return;
    ed.lastFound = -1;
    finishSearch(true);
}

void finishSearch(bool aborted)
{
    endSearch(aborted ? "Search aborted" : NULL);
}
