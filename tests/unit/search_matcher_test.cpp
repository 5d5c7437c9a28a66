// The matcher driven window by window as the search drives it, against a
// brute-force scan of the whole file: same occurrences, same order, from
// any start, in plain and swapped order, with and without case folding.
// Starts and occurrences are display positions: file offsets in plain
// order; in swapped order position j shows the byte at offset j ^ 1.
#include <gtest/gtest.h>

#include <ctype.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "search/matcher.h"

namespace {

const int32_t WINDOW = 32752;
typedef std::vector<unsigned char> Bytes;

Bytes bytesOf(const std::string &s) { return Bytes(s.begin(), s.end()); }

struct Found {
    bool found;
    int32_t offset;     // lowest offset of the match
    int32_t position;   // display position of its first byte
};

// Runs slices as the search does: each slice gets a fresh window of exactly
// WINDOW bytes loaded at the base where the last one stopped. Bytes past
// the end of the file are filled with copies of the pattern, so a read
// beyond the file would show as a false match.
Found runSearch(const Bytes &file, const Bytes &pattern, bool fold, bool swapped, int32_t start,
                int32_t *slices = nullptr, int32_t windowSize = WINDOW, int32_t examinedEnd = 0)
{
    const int32_t size = (int32_t)file.size();
    MatchQuery q = {pattern.data(), (int32_t)pattern.size(), (uint8_t)fold, (uint8_t)swapped, start, size,
                    examinedEnd};
    int32_t base = firstSliceBase(start, swapped);
    int32_t matched = 0, count = 0;
    for (;;) {
        if (base >= size || (swapped && base + 1 >= size)) break;
        std::unique_ptr<unsigned char[]> window(new unsigned char[windowSize]);
        for (int32_t i = 0; i < windowSize; ++i) {
            int64_t o = (int64_t)base + i;
            window[i] = o < size ? file[o] : pattern[i % pattern.size()];
        }
        SliceResult r = matchSlice(window.get(), base, windowSize, q, matched);
        ++count;
        EXPECT_GT(r.nextBase, base);
        EXPECT_LE(r.nextBase, base + windowSize);
        if (r.found) {
            if (slices) *slices = count;
            return {true, r.matchStart, r.displayStart};
        }
        EXPECT_GE(r.matchedCount, 0);
        EXPECT_LT(r.matchedCount, (int32_t)pattern.size());
        EXPECT_EQ(r.matchedCount == 0, r.matchStart == size);
        matched = r.matchedCount;
        base = r.nextBase;
    }
    if (slices) *slices = count;
    return {false, -1, -1};
}

unsigned char displayByte(const Bytes &file, int32_t pos, bool swapped)
{
    return file[swapped ? (pos ^ 1) : pos];
}

// Every occurrence in display order, with its lowest offset.
std::vector<Found> bruteForce(const Bytes &file, const Bytes &pattern, bool fold, bool swapped)
{
    std::vector<Found> all;
    int32_t n = (int32_t)file.size(), L = (int32_t)pattern.size();
    int32_t shown = swapped ? (n & ~1) : n;
    for (int32_t j = 0; j + L <= shown; ++j) {
        int32_t k = 0;
        while (k < L) {
            unsigned char a = displayByte(file, j + k, swapped), b = pattern[k];
            if (fold ? toupper(a) != toupper(b) : a != b) break;
            ++k;
        }
        if (k < L) continue;
        int32_t low = j + L;
        for (int32_t m = j; m < j + L; ++m) low = std::min(low, swapped ? (m ^ 1) : m);
        all.push_back({true, low, j});
    }
    return all;
}

Found firstFrom(const std::vector<Found> &all, int32_t start)
{
    for (const Found &f : all)
        if (f.position >= start) return f;
    return {false, -1, -1};
}

// Find Next continues from the position after the last match's first byte
// until nothing is found; gives the offsets found.
std::vector<int32_t> stepThrough(const Bytes &file, const Bytes &pattern, bool fold, bool swapped)
{
    std::vector<int32_t> offsets;
    int32_t start = 0;
    for (int guard = 0; guard < 100000; ++guard) {
        Found f = runSearch(file, pattern, fold, swapped, start);
        if (!f.found) break;
        offsets.push_back(f.offset);
        start = f.position + 1;
    }
    return offsets;
}

TEST(Matcher, KnownCases)
{
    struct Case {
        const char *file, *pattern;
        bool fold, swapped;
        int32_t start, offset;
    } cases[] = {
        {"aaab", "aab", false, false, 0, 1},        // slide over the leading run
        {"aab", "ab", false, false, 0, 1},
        {"ababc", "abc", false, false, 0, 2},       // begins inside a failed partial match
        {"aabaabaaab", "aabaaab", false, false, 0, 3},
        {"xxABC", "abc", true, false, 0, 2},
        {"xaBc", "abc", true, false, 0, 1},
        {"ABC", "abc", false, false, 0, -1},
        {"\xe9", "\xc9", true, false, 0, -1},      // only a-z fold
        {"@[`{", "`{", true, false, 0, 2},          // neighbours of the letters compare exactly
        {"ba", "ab", false, true, 0, 0},            // swapped pair read as shown
        {"bax", "x", false, true, 0, -1},           // the last single byte is not examined
        {"xbab", "ab", false, true, 0, -1},         // shown as "bx" "ba"
        {"bxab", "b", false, true, 2, 3},           // one byte: shown "xb" "ba"
        {"bxab", "b", false, true, 1, 0},
        {"aaaa", "aa", false, false, 3, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " / " + c.pattern);
        Found f = runSearch(bytesOf(c.file), bytesOf(c.pattern), c.fold, c.swapped, c.start);
        EXPECT_EQ(c.offset, f.found ? f.offset : -1);
    }
}

TEST(Matcher, FindNextStepsThroughOverlappingMatches)
{
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), stepThrough(bytesOf("aaaa"), bytesOf("aa"), false, false));
    EXPECT_EQ((std::vector<int32_t>{0, 2}), stepThrough(bytesOf("ababab"), bytesOf("aba"), false, false));
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3}), stepThrough(bytesOf("aAaA"), bytesOf("a"), true, false));
    // In swapped order the matches at positions 0 and 1 both begin with the
    // pair at offset 0.
    EXPECT_EQ((std::vector<int32_t>{0, 0, 2}), stepThrough(bytesOf("aaaa"), bytesOf("aa"), false, true));
    EXPECT_EQ((std::vector<int32_t>{1, 0, 3, 2}), stepThrough(bytesOf("aaaa"), bytesOf("a"), false, true));
}

TEST(Matcher, MatchAcrossWindowBoundaryIsFoundWhole)
{
    Bytes file(70000, 'x');
    const std::string word = "boundary";
    for (int32_t at : {WINDOW - 2, 2 * WINDOW - 7, WINDOW - 1}) {
        Bytes f = file;
        std::copy(word.begin(), word.end(), f.begin() + at);
        int32_t slices = 0;
        Found r = runSearch(f, bytesOf(word), false, false, 0, &slices);
        EXPECT_TRUE(r.found);
        EXPECT_EQ(at, r.offset);
        EXPECT_EQ(at / WINDOW + 2, slices);
    }
}

TEST(Matcher, ReadsNothingPastTheEndOfTheFile)
{
    // The window's tail holds copies of the pattern; none may match.
    Bytes file = bytesOf("xxxxxab");
    for (bool swapped : {false, true})
        EXPECT_FALSE(runSearch(file, bytesOf("abab"), false, swapped, 0).found);
}

TEST(Matcher, HighlightCoversExactlyTheMatchedBytes)
{
    struct Case {
        int32_t position, length;
        bool swapped;
        Highlight expected;
    } cases[] = {
        {5, 3, false, {5, 3, 0, 0}},
        {4, 2, true, {4, 2, 0, 0}},     // bytes 5 4
        {5, 2, true, {4, 4, 1, 1}},     // bytes 4 7
        {4, 3, true, {4, 4, 0, 1}},     // bytes 5 4 7
        {5, 3, true, {4, 4, 1, 0}},     // bytes 4 7 6
        {4, 1, true, {5, 1, 0, 0}},     // one byte at an odd offset
        {5, 1, true, {4, 1, 0, 0}},
    };
    for (const Case &c : cases) {
        Highlight h = matchHighlight(c.position, c.length, c.swapped);
        SCOPED_TRACE(c.position * 10 + c.length);
        EXPECT_EQ(c.expected.start, h.start);
        EXPECT_EQ(c.expected.length, h.length);
        EXPECT_EQ(c.expected.skipSecond, h.skipSecond);
        EXPECT_EQ(c.expected.skipPenultimate, h.skipPenultimate);
        // The bytes left in the highlight are exactly the matched ones.
        std::vector<int32_t> lit, matched;
        for (int32_t o = h.start; o < h.start + h.length; ++o) {
            int32_t k = o - h.start;
            if ((k == 1 && h.skipSecond) || (k == h.length - 2 && h.skipPenultimate)) continue;
            lit.push_back(o);
        }
        for (int32_t p = c.position; p < c.position + c.length; ++p) matched.push_back(c.swapped ? p ^ 1 : p);
        std::sort(matched.begin(), matched.end());
        EXPECT_EQ(matched, lit);
    }
}

TEST(Matcher, SlideInSwappedOrderReportsTheLowestMatchedOffset)
{
    // Shown as "xa" "aa" "ab": "aab" is shown from position 3 and holds the
    // bytes at offsets 2, 5 and 4.
    Bytes file = bytesOf("axaaba");
    Found f = runSearch(file, bytesOf("aab"), false, true, 0);
    ASSERT_TRUE(f.found);
    EXPECT_EQ(2, f.offset);
    EXPECT_EQ(3, f.position);
}

// After a change of target, the rescan sees what runs on past the examined
// bytes (below `end`), nothing wholly before and nothing before the start.
TEST(Matcher, RescanAfterAChangedTargetSeesWhatRunsOnPastTheExaminedBytes)
{
    const struct { const char *file, *pattern; bool swapped; int32_t end, start, offset; } cases[] = {
        {"xxbcdx", "bcd", false, 3, 0, 2}, {"xxbcdx", "bcd", false, 5, 0, -1}, {"xxbcdx", "bcd", false, 3, 3, -1},
        {"bxcd", "bd", true, 3, 0, 0}, {"bxcd", "bd", true, 4, 0, -1}, {"bdxx", "db", true, 2, 0, -1},
    };
    for (const auto &c : cases) {
        int32_t from = rescanStart(c.end, c.start, (int32_t)strlen(c.pattern), c.swapped);
        Found f = runSearch(bytesOf(c.file), bytesOf(c.pattern), false, c.swapped, from);
        EXPECT_EQ(c.offset, f.found ? f.offset : -1) << c.file << " " << c.pattern << " " << c.end;
    }
}

// A search whose target (pattern, case rule, order) changes after some
// slices goes on as a brute-force scan of the same bytes says: the first
// occurrence of the new target from the search's start that reaches a byte
// the old one had not examined.
TEST(Matcher, ResumedScanAfterAChangedTargetAgreesWithBruteForce)
{
    std::mt19937 rng(20261209);
    auto below = [&](int32_t n) { return (int32_t)(rng() % (uint32_t)n); };
    auto randomBytes = [&](int32_t n) {
        Bytes b(n);
        for (unsigned char &c : b) c = ".xX"[below(3)];
        return b;
    };
    int resumed = 0;
    for (int round = 0; round < 100000; ++round) {
        Bytes file = randomBytes(1 + below(40)), before = randomBytes(1 + below(3)), after = randomBytes(1 + below(3));
        bool foldBefore = below(2), swappedBefore = below(2), foldAfter = below(2), swappedAfter = below(2);
        int32_t size = (int32_t)file.size(), start = below(size + 1), window = 2 + 2 * below(4);
        // The old target's slices, as the search ran them, up to a change.
        MatchQuery q = {before.data(), (int32_t)before.size(), (uint8_t)foldBefore, (uint8_t)swappedBefore,
                        start, size, 0};
        int32_t base = firstSliceBase(start, swappedBefore), matched = 0;
        bool found = false;
        for (int slices = below(6); slices > 0 && base < size && !(swappedBefore && base + 1 >= size); --slices) {
            Bytes w(window, '-');
            for (int32_t i = 0; i < window && base + i < size; ++i) w[i] = file[base + i];
            SliceResult r = matchSlice(w.data(), base, window, q, matched);
            if ((found = r.found)) break;
            matched = r.matchedCount;
            base = r.nextBase;
        }
        if (found) continue;
        int32_t length = (int32_t)after.size();
        Found want = {false, -1, -1};
        for (const Found &f : bruteForce(file, after, foldAfter, swappedAfter)) {
            int32_t highest = 0;
            for (int32_t p = f.position; p < f.position + length; ++p) highest = std::max(highest, swappedAfter ? p ^ 1 : p);
            if (f.position >= start && highest >= base) {
                want = f;
                break;
            }
        }
        int32_t from = rescanStart(base, start, length, swappedAfter);
        Found got = runSearch(file, after, foldAfter, swappedAfter, from, nullptr, window, base);
        ASSERT_EQ(want.found, got.found) << "round " << round;
        ASSERT_EQ(want.position, got.position) << "round " << round;
        ++resumed;
    }
    EXPECT_GT(resumed, 50000);
}

TEST(Matcher, Folding)
{
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(b >= 'a' && b <= 'z' ? b - 32 : b, foldByte((unsigned char)b)) << b;
}

// Random files (plain noise, a small alphabet, long runs of one byte) of
// sizes around one and two windows, random patterns of 1 to 255 bytes,
// often taken from the file so that there is something to find.
TEST(Matcher, AgreesWithBruteForceOnRandomFiles)
{
    std::mt19937 rng(20261207);
    auto below = [&](int32_t n) { return (int32_t)(rng() % (uint32_t)n); };
    const int32_t sizes[] = {1, 2, 3, 255, WINDOW - 1, WINDOW, WINDOW + 1, 2 * WINDOW - 1, 2 * WINDOW, 2 * WINDOW + 3};
    int checked = 0;
    for (int round = 0; round < 60; ++round) {
        int32_t size = sizes[round % 10] + (round >= 30 ? below(7) : 0);
        int kind = round % 3;
        Bytes file(size);
        const char alphabet[] = "aAbB";
        for (int32_t i = 0; i < size; ++i)
            file[i] = kind == 0 ? (unsigned char)rng() : (unsigned char)alphabet[below(kind == 1 ? 4 : 2)];
        if (kind == 2) {
            for (int runs = 0; runs < 4 && size > 10; ++runs) {
                int32_t at = below(size), len = std::min(size - at, 300 + below(3000));
                std::fill(file.begin() + at, file.begin() + at + len, 'a');
            }
        }
        for (int p = 0; p < 4; ++p) {
            int32_t length = 1 + (p == 0 ? below(4) : p == 1 ? below(255) : below(20));
            Bytes pattern(length);
            if (size >= length && below(4) != 0) {
                int32_t at = below(size - length + 1);
                std::copy(file.begin() + at, file.begin() + at + length, pattern.begin());
                if (below(3) == 0) pattern[below(length)] ^= 0x20;   // a case change
            } else {
                for (unsigned char &b : pattern) b = (unsigned char)alphabet[below(4)];
            }
            for (int mode = 0; mode < 3; ++mode) {
                bool fold = mode == 1, swapped = mode == 2;
                std::vector<Found> all = bruteForce(file, pattern, fold, swapped);
                SCOPED_TRACE("size " + std::to_string(size) + " length " + std::to_string(length) +
                             " mode " + std::to_string(mode));
                for (int s = 0; s < 6; ++s) {
                    int32_t start = s == 0 ? 0 : below(size + 1);
                    if (s == 1 && !all.empty()) start = all[below((int32_t)all.size())].position + 1;
                    Found want = firstFrom(all, start);
                    Found got = runSearch(file, pattern, fold, swapped, start);
                    ASSERT_EQ(want.found, got.found) << "start " << start;
                    if (want.found) {
                        ASSERT_EQ(want.offset, got.offset) << "start " << start;
                        ASSERT_EQ(want.position, got.position) << "start " << start;
                    }
                    ++checked;
                }
                // Find Next from the start of the file walks every
                // occurrence, overlapping ones included, in order.
                if (all.size() < 300) {
                    std::vector<int32_t> want;
                    for (const Found &f : all) want.push_back(f.offset);
                    ASSERT_EQ(want, stepThrough(file, pattern, fold, swapped));
                }
            }
        }
    }
    EXPECT_GT(checked, 4000);
}

TEST(Matcher, SmallWindowsGiveTheSameAnswers)
{
    // Windows of a few bytes put nearly every match across a boundary.
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        Bytes file(1 + rng() % 300);
        for (unsigned char &b : file) b = "ab"[rng() % 2];
        Bytes pattern(1 + rng() % 6);
        for (unsigned char &b : pattern) b = "ab"[rng() % 2];
        for (bool swapped : {false, true}) {
            int32_t start = (int32_t)(rng() % (file.size() + 1));
            Found whole = runSearch(file, pattern, false, swapped, start);
            Found small = runSearch(file, pattern, false, swapped, start, nullptr, 2 + 2 * (rng() % 3));
            ASSERT_EQ(whole.found, small.found);
            ASSERT_EQ(whole.offset, small.offset);
        }
    }
}

}  // namespace
