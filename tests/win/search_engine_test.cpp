// The search under the real windows and the real message loop: what a
// search finds and shows, how it is stopped, and the timer that drives it.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "search/search.h"
#include "shell/shell.h"
#include "wintest.h"

using namespace wintest;

namespace {

typedef std::vector<unsigned char> Bytes;

// One search tick as the message loop takes it off the queue.
struct Tick {
    UINT_PTR id;            // the timer that ticked
    UINT_PTR current;       // the search timer the editor holds then
    int32_t pageBase;
};
std::vector<Tick> ticks;
std::function<void(size_t)> onTick;

// Runs the editor's own message loop until the search has ended, keeping
// its ticks.
void runSearch()
{
    ticks.clear();
    bool ended = runUntilSearchEnds([](const MSG &m) {
        if (m.message == WM_TIMER && m.hwnd == NULL && m.lParam == 0 && ed.searching) {
            ticks.push_back({m.wParam, ed.searchTimer, ed.pageBase});
            if (onTick) onTick(ticks.size());
        }
    });
    EXPECT_TRUE(ended) << "the search did not end in time";
    onTick = nullptr;
}

// Timer messages without a window and without a callback: search ticks.
int searchTicksWithin(int ms)
{
    int n = 0;
    DWORD start = GetTickCount();
    while ((int)(GetTickCount() - start) < ms) {
        MSG m;
        while (PeekMessageA(&m, NULL, WM_TIMER, WM_TIMER, PM_REMOVE))
            if (m.hwnd == NULL && m.lParam == 0) ++n;
        Sleep(5);
    }
    return n;
}

void expectOneTimerAndNoneLeft()
{
    for (const Tick &t : ticks) EXPECT_EQ(t.current, t.id);
    EXPECT_EQ(0, ed.searching);
    EXPECT_EQ(0, searchTicksWithin(60));
}

// The pattern and its options as the Search dialog leaves them.
void setPattern(const std::string &p, bool text = false, bool ignoreCase = false)
{
    memcpy(ed.pattern, p.data(), p.size());
    ed.patternLength = (int32_t)p.size();
    ed.searchOptions = (uint8_t)((ed.searchOptions & ~0x01) | (text ? 0x01 : 0));
    ed.ignoreCase = ignoreCase;
    applyCaseRule();
}

class SearchEngine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session.started()); }
    void open(const Bytes &bytes)
    {
        std::string path = writeTempFile("search.bin", bytes);
        openFile(path.c_str());
        ASSERT_EQ((int32_t)bytes.size(), ed.fileSize);
    }
    void find(int command = IDM_FINDNEXT)
    {
        if (command == IDM_FIND) startSearch(SEARCH_FIND);
        else SendMessageA(ed.mainWnd, WM_COMMAND, IDM_FINDNEXT, 0);
        runSearch();
    }
    EditorSession session;
};

TEST_F(SearchEngine, FindsAMatchFarAwayTwoWindowsPerTick)
{
    Bytes file(400000, 0x55);
    const std::string word = "needle";
    memcpy(&file[390001], word.data(), word.size());
    open(file);
    setPattern(word);
    ed.searchOptions |= 0x02;
    find(IDM_FIND);

    EXPECT_EQ(390001, ed.lastFound);
    EXPECT_EQ("Found at: 5f371 (HEX)", statusText(0));
    EXPECT_EQ(390001, ed.selStart);
    EXPECT_EQ(6, ed.selLength);
    EXPECT_EQ(390001 / 16, ed.topRow);
    EXPECT_EQ(1, ed.findNextReady);
    EXPECT_FALSE(menuGrayed(IDM_FINDNEXT));
    EXPECT_TRUE(menuGrayed(IDM_STOPSEARCH));
    EXPECT_TRUE(seenBoxes().empty());
    // Each tick ran two slices of one window each.
    ASSERT_GE(ticks.size(), 5u);
    for (size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(2 * PAGE_SIZE, ticks[i].pageBase - ticks[i - 1].pageBase);
    expectOneTimerAndNoneLeft();

    // In decimal offsets.
    ed.viewFormat = 0x01;
    find(IDM_FIND);
    EXPECT_EQ("Found at: 390001 (DEC)", statusText(0));
}

TEST_F(SearchEngine, FindNextStepsThroughOverlappingMatchesThenNotFound)
{
    open(Bytes{'a', 'a', 'a', 'a'});
    setPattern("aa");
    ed.searchOptions |= 0x02;
    find(IDM_FIND);
    std::vector<int32_t> found{ed.lastFound};
    for (int i = 0; i < 3; ++i) {
        if (i == 2) answerNextBox(IDOK);
        find();
        found.push_back(ed.lastFound);
    }
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, -1}), found);
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Not Found", seenBoxes()[0].text);
    EXPECT_EQ("Search", seenBoxes()[0].caption);
    EXPECT_EQ(0, ed.findNextReady);
    EXPECT_TRUE(menuGrayed(IDM_FINDNEXT));
    EXPECT_EQ(0, ed.selLength);
    expectOneTimerAndNoneLeft();

    // Find Next after "Not Found" does nothing.
    find();
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_TRUE(ticks.empty());
}

TEST_F(SearchEngine, OccurrenceInsideAFailedPartialMatchAndAcrossWindows)
{
    Bytes file(100000, 'x');
    const std::string text = "ababc";
    memcpy(&file[PAGE_SIZE - 3], text.data(), text.size());
    open(file);
    setPattern("abc");
    ed.searchOptions |= 0x02;
    find(IDM_FIND);
    EXPECT_EQ(PAGE_SIZE - 1, ed.lastFound);
    EXPECT_EQ(3, ed.selLength);
}

TEST_F(SearchEngine, StartsAtTheTopRowUnlessFromTheBeginning)
{
    Bytes file(200, '.');
    memcpy(&file[0], "key", 3);
    memcpy(&file[40], "key", 3);
    open(file);
    setPattern("key", true);
    for (bool fromStart : {false, true}) {
        ed.topRow = 2;
        ed.searchOptions = (uint8_t)(0x01 | (fromStart ? 0x02 : 0));
        find(IDM_FIND);
        EXPECT_EQ(fromStart ? 0 : 40, ed.lastFound);
    }

    // While a search runs, the view shows the window it reads: a Find then
    // starts there, not at the top row of before that search.
    Bytes big(1000000, '.');
    memcpy(&big[100000], "QWERTY", 6);
    memcpy(&big[600000], "QWERTY", 6);
    memcpy(&big[900000], "NEEDLE", 6);
    open(big);
    setPattern("NEEDLE", true);
    ed.topRow = 0;
    ed.searchOptions = 0x03;
    int32_t shown = -1;
    onTick = [&](size_t n) {
        if (n != 4) return;
        setPattern("QWERTY", true);
        ed.searchOptions = 0x01;
        shown = firstShownOffset();
        startSearch(SEARCH_FIND);
    };
    find(IDM_FIND);
    EXPECT_GT(shown, 100000);
    EXPECT_EQ(600000, ed.lastFound);
}

TEST_F(SearchEngine, CaseFoldingOnlyInTextSearches)
{
    Bytes file{'x', 'A', 'B', 'C', 0xE9, 'a', 'B', 'c'};
    open(file);
    struct Case {
        const char *pattern;
        bool text, ignoreCase;
        int32_t found;
    } cases[] = {
        {"abc", true, true, 1},
        {"abc", true, false, -1},
        {"aBc", true, false, 5},
        {"abc", false, false, -1},     // 61 62 63 as bytes
        {"abc", false, true, -1},      // whatever "&Match uppercase" says
        {"\xc9", true, true, -1},
    };
    for (const Case &c : cases) {
        setPattern(c.pattern, c.text, c.ignoreCase);
        ed.searchOptions |= 0x02;
        if (c.found < 0) answerNextBox(IDOK);
        find(IDM_FIND);
        EXPECT_EQ(c.found, ed.lastFound) << c.pattern;
    }
}

TEST_F(SearchEngine, SwappedOrderFindsTextAsShownAndHighlightsIt)
{
    ed.viewFormat = 0x31;     // swapText
    struct Case {
        Bytes file;
        const char *pattern;
        int32_t found, selStart, selLength;
        uint8_t skipSecond, skipPenultimate;
    } cases[] = {
        {{'b', 'a'}, "ab", 0, 0, 2, 0, 0},
        {{'x', 'y', 'q', 'z'}, "q", 2, 2, 1, 0, 0},          // one byte, even offset
        {{'x', 'y', 'z', 'q'}, "q", 3, 3, 1, 0, 0},          // one byte, odd offset
        {{'x', 'a', 'b', 'y'}, "xy", 0, 0, 4, 1, 1},         // shown "ax" "yb"
        {{'a', 'x', 'a', 'a', 'b', 'a'}, "aab", 2, 2, 4, 1, 0},   // after a slide
        {{'b', 'a', 'c'}, "c", -1, 0, 0, 0, 0},              // odd size: last byte unseen
    };
    for (const Case &c : cases) {
        open(c.file);
        setPattern(c.pattern, true);
        ed.searchOptions |= 0x02;
        if (c.found < 0) answerNextBox(IDOK);
        find(IDM_FIND);
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.found, ed.lastFound);
        if (c.found < 0) continue;
        EXPECT_EQ(c.selStart, ed.selStart);
        EXPECT_EQ(c.selLength, ed.selLength);
        EXPECT_EQ(c.skipSecond, ed.selSkipSecond);
        EXPECT_EQ(c.skipPenultimate, ed.selSkipPenultimate);
    }
}

TEST_F(SearchEngine, FindNextInSwappedOrderStepsThroughEveryMatch)
{
    // Shown as "aa" "aa": "aa" begins at positions 0, 1 and 2; the first
    // two both begin with the pair at offset 0.
    ed.viewFormat = 0x31;
    open(Bytes{'a', 'a', 'a', 'a'});
    setPattern("aa", true);
    ed.searchOptions |= 0x02;
    struct Step {
        int32_t found, selStart, selLength;
        uint8_t skipSecond, skipPenultimate;
    } steps[] = {{0, 0, 2, 0, 0}, {0, 0, 4, 1, 1}, {2, 2, 2, 0, 0}, {-1, 0, 0, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        if (i == 3) answerNextBox(IDOK);
        find(i == 0 ? IDM_FIND : IDM_FINDNEXT);
        EXPECT_EQ(steps[i].found, ed.lastFound);
        if (steps[i].found < 0) continue;
        EXPECT_EQ(steps[i].selStart, ed.selStart);
        EXPECT_EQ(steps[i].selLength, ed.selLength);
        EXPECT_EQ(steps[i].skipSecond, ed.selSkipSecond);
        EXPECT_EQ(steps[i].skipPenultimate, ed.selSkipPenultimate);
    }
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Not Found", seenBoxes()[0].text);

    // After the order changed, Find Next goes on after the highlighted match
    // as the view now shows it: swapped, the "xx" at offsets c and d shows
    // the match's byte second, and nothing follows it.
    Bytes dots(40, '.');
    dots[0xc] = dots[0xd] = 'x';
    ed.viewFormat = 0x11;
    open(dots);
    setPattern("x", true);
    find(IDM_FIND);
    EXPECT_EQ(0xc, ed.lastFound);
    ed.viewFormat = 0x31;
    answerNextBox(IDOK);
    find();
    EXPECT_EQ(-1, ed.lastFound);
}

// The editor calls SetTimer through this program's import of it, which a
// test can point at a pool that has run dry, as Windows 95's small one can.
typedef UINT_PTR(WINAPI *SetTimerFunction)(HWND, UINT_PTR, UINT, TIMERPROC);
void **const setTimerSlot = importSlot("USER32.dll", "SetTimer");
const SetTimerFunction systemSetTimer = (SetTimerFunction)*setTimerSlot;
UINT_PTR WINAPI timerFromADryPool(HWND wnd, UINT_PTR id, UINT ms, TIMERPROC proc)
{
    return !wnd && !proc ? 0 : systemSetTimer(wnd, id, ms, proc);     // search timers only
}

// Every way of stopping a running search: the Stop Search command, the Esc
// key, a vertical scroll of the view, which stops the search before the
// view moves, and a search timer that cannot be had after a tick, which
// says why. Afterwards neither F3 nor Find Next starts anything.
TEST_F(SearchEngine, StoppingAbortsAndWithdrawsFindNext)
{
    struct Case {
        const char *name;
        HWND *target;       // NULL: the timer pool runs dry
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {"Stop Search", &ed.mainWnd, WM_COMMAND, IDM_STOPSEARCH},
        {"Esc", &ed.mainWnd, WM_KEYDOWN, VK_ESCAPE},
        {"vertical scroll", &ed.hexViewWnd, WM_VSCROLL, SB_LINEDOWN},
        {"no timer left", NULL, 0, 0},
    };
    open(Bytes(3000000, 0x20));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clearSeenBoxes();
        setPattern("nothing here");
        ed.lastFound = 5;
        ed.findNextReady = 1;
        ed.topRow = 0;
        ed.searchOptions |= 0x02;
        onTick = [&c](size_t n) {
            if (n == 3 && c.target) PostMessageA(*c.target, c.message, c.wParam, 0);
            if (n == 3 && !c.target) *setTimerSlot = (void *)timerFromADryPool;
        };
        int32_t topRowAtAbort = -1;
        onNextBox([&](HWND box) {
            topRowAtAbort = ed.topRow;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        find(IDM_FIND);
        *setTimerSlot = (void *)systemSetTimer;
        ASSERT_EQ(1u, seenBoxes().size());
        EXPECT_EQ(c.target ? "Search aborted"
                           : "No timer is free for the search. Close another program, then search again.",
                  seenBoxes()[0].text);
        EXPECT_EQ("Search", seenBoxes()[0].caption);
        EXPECT_EQ(0, topRowAtAbort);        // nothing scrolled before the stop
        EXPECT_EQ(-1, ed.lastFound);
        EXPECT_EQ(0, ed.findNextReady);
        EXPECT_TRUE(menuGrayed(IDM_FINDNEXT));
        EXPECT_TRUE(menuGrayed(IDM_STOPSEARCH));
        EXPECT_EQ("", statusText(0));
        EXPECT_LT(ticks.size(), 6u);
        expectOneTimerAndNoneLeft();

        // F3, Find Next and a second stop do nothing now.
        PostMessageA(ed.mainWnd, WM_KEYDOWN, VK_F3, 0);
        PostMessageA(ed.mainWnd, WM_COMMAND, IDM_FINDNEXT, 0);
        PostMessageA(ed.mainWnd, WM_COMMAND, IDM_STOPSEARCH, 0);
        runSearch();
        EXPECT_TRUE(ticks.empty());
        EXPECT_EQ(1u, seenBoxes().size());
        EXPECT_EQ(0, ed.searching);
    }
}

TEST_F(SearchEngine, ANewSearchReplacesTheRunningOne)
{
    Bytes file(1000000, 0x20);
    memcpy(&file[900000], "late", 4);
    open(file);
    setPattern("late");
    ed.searchOptions |= 0x02;
    startSearch(SEARCH_FIND);
    UINT_PTR first = ed.searchTimer;
    onTick = [](size_t n) {
        if (n == 2) startSearch(SEARCH_FIND);     // from the start again, on its own timer
    };
    runSearch();
    EXPECT_NE(0u, first);
    EXPECT_EQ(900000, ed.lastFound);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_EQ(2 * PAGE_SIZE, ticks[2].pageBase);     // two slices from 0 again
    expectOneTimerAndNoneLeft();
}

// In edit mode, characters and a double click on a unit during a search
// change no byte, ask nothing and leave the window to the search, which
// ends as it would without them.
TEST_F(SearchEngine, TypingAndDoubleClicksDuringASearchAreIgnored)
{
    Bytes file(1000000, 0x20);
    memcpy(&file[900000], "late", 4);
    std::string path = writeTempFile("typed.bin", file);
    openFile(path.c_str());
    ASSERT_TRUE(waitFor([] { return ed.fileJustOpened == 0; }));
    SendMessageA(ed.mainWnd, WM_COMMAND, IDM_VIEWMODE, 0);
    ASSERT_EQ(1, ed.editMode);
    setPattern("late");
    ed.searchOptions |= SO_FROM_START;
    LPARAM firstUnit = MAKELPARAM((ed.offsetChars + 2) * ed.charWidth + 3, ed.charHeight + 5);
    // Given on ticks before the one that finds the match, so they come
    // while the search runs.
    onTick = [firstUnit](size_t n) {
        if (n % 2 || n > 10) return;
        for (char c : std::string("4a")) PostMessageA(ed.mainWnd, WM_CHAR, (unsigned char)c, 0);
        PostMessageA(ed.hexViewWnd, WM_LBUTTONDBLCLK, 0, firstUnit);
        PostMessageA(ed.hexViewWnd, WM_LBUTTONUP, 0, firstUnit);
    };
    find(IDM_FIND);
    EXPECT_EQ(900000, ed.lastFound);
    EXPECT_TRUE(seenBoxes().empty());
    EXPECT_EQ(0, ed.pageDirty);
    ASSERT_GE(ticks.size(), 5u);
    for (size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(2 * PAGE_SIZE, ticks[i].pageBase - ticks[i - 1].pageBase);
    closeFile();
    EXPECT_TRUE(readFile(path) == file);
}

// "ab" ends the first window and "cd" begins the window that is loaded in
// place of the second: the partial match does not join them.
TEST_F(SearchEngine, APartialMatchDoesNotJoinAWindowMovedUnderTheSearch)
{
    Bytes file(4 * PAGE_SIZE, 'x');
    memcpy(&file[PAGE_SIZE - 2], "abcd", 4);
    memcpy(&file[2 * PAGE_SIZE], "qqcd", 4);
    memcpy(&file[3 * PAGE_SIZE], "cd", 2);
    open(file);
    setPattern("abcd");
    ed.searchOptions |= SO_FROM_START;
    startSearch(SEARCH_FIND);
    searchStep();
    ASSERT_EQ(2, ed.matchedCount);
    loadPage(3 * PAGE_SIZE);
    answerNextBox(IDOK);
    for (int steps = 0; ed.searching && steps < 10; ++steps) searchStep();
    EXPECT_EQ(-1, ed.lastFound);
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Not Found", seenBoxes()[0].text);

    // The pattern, the case rule or the byte order (0x31: swapped) changed
    // under the search: what runs on into the window is found whatever the
    // old pattern matched at its end ("b" of "bqq", nothing of "zzz"); no
    // false "qqcd". Shown swapped, "abcd" reads "badc".
    const struct { const char *before, *after; bool ignoreCase; uint8_t format; int32_t found; } changes[] = {
        {"abcd", "qqcd", false, 0x11, 2 * PAGE_SIZE}, {"bqq", "bcd", false, 0x11, PAGE_SIZE - 1},
        {"zzz", "bcd", false, 0x11, PAGE_SIZE - 1}, {"BCD", "BCD", true, 0x11, PAGE_SIZE - 1},
        {"adc", "adc", false, 0x31, PAGE_SIZE - 2},
    };
    for (const auto &c : changes) {
        ed.viewFormat = 0x11;
        setPattern(c.before, true);
        startSearch(SEARCH_FIND);
        searchStep();
        ed.viewFormat = c.format;
        setPattern(c.after, true, c.ignoreCase);
        for (int steps = 0; ed.searching && steps < 10; ++steps) searchStep();
        EXPECT_EQ(c.found, ed.lastFound) << c.before << " to " << c.after;
    }
    // A new search examines every byte again, those before the last change
    // of target included.
    ed.viewFormat = 0x11;
    setPattern("ab", true);
    startSearch(SEARCH_FIND);
    for (int steps = 0; ed.searching && steps < 10; ++steps) searchStep();
    EXPECT_EQ(PAGE_SIZE - 2, ed.lastFound);
}

TEST_F(SearchEngine, ProgressShowsEveryWholePercentageOfALargeFile)
{
    open(Bytes(30000000, 0x20));
    setPattern("absent");
    ed.searchOptions |= 0x02;
    std::vector<std::string> seen;
    bool titleAt99 = false;
    onTick = [&](size_t) {
        std::string text = statusText(0);
        if (seen.empty() || seen.back() != text) seen.push_back(text);
        titleAt99 = titleAt99 || windowText(ed.mainWnd).find(" 99 %") != std::string::npos;
    };
    answerNextBox(IDOK);
    find(IDM_FIND);
    ASSERT_EQ(100u, seen.size());
    EXPECT_EQ("Searching", seen[0]);
    // The text ends with a line feed, which the status bar gives back as a blank.
    for (int p = 1; p <= 99; ++p) EXPECT_EQ("Searching " + std::to_string(p) + " %", seen[p].substr(0, seen[p].size() - 1));
    EXPECT_TRUE(titleAt99);
}

TEST_F(SearchEngine, PositionPastTheEndIsNotFound)
{
    open(Bytes{'z', 'z'});
    setPattern("z");
    ed.searchOptions |= 0x02;
    find(IDM_FIND);
    find();
    EXPECT_EQ(1, ed.lastFound);
    answerNextBox(IDOK);
    find();
    EXPECT_EQ(-1, ed.lastFound);
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Not Found", seenBoxes()[0].text);
}

}  // namespace
