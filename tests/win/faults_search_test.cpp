// The search at the end of the largest file the editor opens (2 GiB - 1
// bytes): a pattern a few bytes before the end is found and shown, one that
// would run past the end is not, and nothing is read or computed past the
// signed 32-bit range.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "document/document.h"
#include "document/editor_state.h"
#include "search/search.h"
#include "wintest.h"

using namespace wintest;

namespace {

const int32_t lastByte = 0x7FFFFFFE;
const int32_t needleAt = 0x7FFFFFF6;        // 2^31 - 10

// Runs the search's slices as the message loop would, a bounded number.
void searchFor(const char *pattern, SearchRequest request)
{
    ed.patternLength = (int32_t)strlen(pattern);
    memcpy(ed.pattern, pattern, ed.patternLength);
    ed.searchOptions = 0;           // from the top row, bytes compared exactly
    ed.ignoreCase = 0;
    ed.foldCase = 0;
    startSearch(request);
    for (int steps = 0; ed.searching && steps < 100; ++steps) searchStep();
    pump();
}

struct EndCase {
    const char *pattern;
    int32_t found;          // -1: not found
};

TEST(LargestFileSearch, PatternsAtTheEnd)
{
    // 2 GiB - 1 bytes with "NEEDLE" at 2^31 - 10 and "END" in its last three.
    std::string path =
        writeSparseFile("largest-search.bin", lastByte + 1, {{needleAt, "NEEDLE"}, {lastByte - 2, "END"}});
    ASSERT_FALSE(path.empty());
    const EndCase cases[] = {
        {"NEEDLE", needleAt},
        {"END", lastByte - 2},
        {"ENDX", -1},           // would run past the end
        {"ND", lastByte - 1},   // ends on the last byte
    };
    for (const EndCase &c : cases) {
        SCOPED_TRACE(c.pattern);
        EditorSession s(("\"" + path + "\"").c_str());
        ASSERT_EQ(0x7FFFFFFF, ed.fileSize);
        ASSERT_TRUE(waitFor([] { return ed.charWidth != 0; }));
        SendMessageA(ed.hexViewWnd, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
        UpdateWindow(ed.hexViewWnd);
        ASSERT_LT((int64_t)ed.topRow * 16, (int64_t)needleAt) << "the search starts before the needle";

        if (c.found < 0) answerNextBox(IDOK);
        searchFor(c.pattern, SEARCH_FIND);
        EXPECT_EQ(0, ed.searching);
        if (c.found < 0) {
            ASSERT_EQ(1u, seenBoxes().size());
            EXPECT_EQ("Not Found", seenBoxes()[0].text);
            EXPECT_EQ(0, ed.selLength);
            continue;
        }
        EXPECT_TRUE(seenBoxes().empty());
        EXPECT_EQ(c.found, ed.lastFound);
        EXPECT_EQ(c.found, ed.selStart);
        EXPECT_EQ((int32_t)strlen(c.pattern), ed.selLength);
        EXPECT_EQ(c.found / 16, ed.topRow);
        char status[64];
        snprintf(status, sizeof status, "Found at: %lx (HEX)", (unsigned long)c.found);
        EXPECT_EQ(status, statusText(0));
        UpdateWindow(ed.hexViewWnd);
        EXPECT_TRUE(pageHolds(c.found, c.found + (int32_t)strlen(c.pattern) - 1));

        // Find Next goes on after it and reaches the end without a match.
        answerNextBox(IDOK);
        searchFor(c.pattern, SEARCH_FIND_NEXT);
        ASSERT_EQ(1u, seenBoxes().size());
        EXPECT_EQ("Not Found", seenBoxes()[0].text);
    }
    DeleteFileA(path.c_str());
}

}  // namespace
