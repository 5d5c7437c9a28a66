// The matcher runs a failure table (longest border of each pattern
// prefix) over the bytes in display order: after a mismatch the partial
// match falls back to the longest pattern prefix that still ends at the
// current byte, so no occurrence that begins inside a failed partial match
// is lost and no byte is read twice. The table depends on the pattern
// alone, so a partial match carries over to the next window as a count.
#include "search/matcher.h"

#include <string.h>

namespace {

struct ByteTable {
    unsigned char v[256];
};

constexpr ByteTable makeTable(bool fold)
{
    ByteTable t{};
    for (int i = 0; i < 256; ++i)
        t.v[i] = (unsigned char)(fold && i >= 'a' && i <= 'z' ? i - ('a' - 'A') : i);
    return t;
}

constexpr ByteTable foldedBytes = makeTable(true);
constexpr ByteTable sameBytes = makeTable(false);

// Finds the next raw index holding one of one or two byte values, keeping
// the last answer for each so that no byte is scanned twice.
struct Skipper {
    const unsigned char *w;
    int32_t end;
    unsigned char c1, c2;
    bool two;
    int32_t n1, n2;

    int32_t find(unsigned char c, int32_t from) const
    {
        const void *p = memchr(w + from, c, (size_t)(end - from));
        return p ? (int32_t)((const unsigned char *)p - w) : end;
    }
    int32_t next(int32_t from)
    {
        if (n1 < from) n1 = find(c1, from);
        if (two && n2 < from) n2 = find(c2, from);
        return two && n2 < n1 ? n2 : n1;
    }
};

// Lowest and highest file offset among the count bytes shown from display
// position pos. In swapped order the position of an even offset shows the
// odd byte after it, and the other way round: the same rule gives the
// lowest position that shows one of count bytes from an offset.
int32_t lowestOffset(int32_t pos, int32_t count, uint8_t swapped)
{
    if (!swapped) return pos;
    return count == 1 ? (pos ^ 1) : (pos & ~1);
}

int32_t highestOffset(int32_t pos, int32_t count, uint8_t swapped)
{
    int32_t last = pos + count - 1;
    if (!swapped) return last;
    if (!(last & 1)) return last + 1;
    return count == 1 ? last - 1 : last;
}

}  // namespace

unsigned char foldByte(unsigned char b) { return foldedBytes.v[b]; }

int32_t firstSliceBase(int32_t start, uint8_t swapped) { return swapped ? (start & ~1) : start; }

int32_t rescanStart(int32_t examinedEnd, int32_t searchStart, int32_t patternLength, uint8_t swapped)
{
    // In swapped order an odd end splits a pair: the position of its even
    // byte already shows the odd byte, which was not examined.
    int32_t firstUnexamined = swapped ? (examinedEnd & ~1) : examinedEnd;
    int32_t reach = patternLength > 1 ? patternLength - 1 : 0;
    int32_t start = firstUnexamined - reach;
    return start > searchStart ? start : searchStart;
}

SliceResult matchSlice(const unsigned char *window, int32_t windowBase, int32_t windowSize,
                       const MatchQuery &query, int32_t matchedCount)
{
    SliceResult r;
    r.found = 0;
    r.displayStart = query.fileSize;
    r.matchStart = query.fileSize;
    r.matchedCount = 0;

    const int32_t length = query.patternLength;
    const uint8_t swapped = query.swapped ? 1 : 0;

    // A window that starts on an odd offset holds the odd half of a pair
    // whose even half lies before it: in swapped order it is passed over.
    if (swapped && (windowBase & 1) && windowSize > 0) {
        ++window;
        ++windowBase;
        --windowSize;
    }
    int64_t limit64 = (int64_t)windowBase + (windowSize > 0 ? windowSize : 0);
    if (limit64 > query.fileSize) limit64 = query.fileSize;
    int32_t limit = limit64 > windowBase ? (int32_t)limit64 : windowBase;
    if (swapped) limit = windowBase + ((limit - windowBase) & ~1);
    if (limit <= windowBase || length < 1 || length > MAX_PATTERN_BYTES) {
        r.nextBase = query.fileSize;    // nothing left that could match
        return r;
    }

    const unsigned char *fold = query.foldCase ? foldedBytes.v : sameBytes.v;
    unsigned char fp[MAX_PATTERN_BYTES + 1];
    int32_t fail[MAX_PATTERN_BYTES + 2];
    for (int32_t k = 0; k < length; ++k) fp[k] = fold[query.pattern[k]];
    fail[0] = 0;
    fail[1] = 0;
    for (int32_t k = 1, border = 0; k < length; ++k) {
        while (border > 0 && fp[k] != fp[border]) border = fail[border];
        if (fp[k] == fp[border]) ++border;
        fail[k + 1] = border;
    }

    Skipper skip;
    skip.w = window;
    skip.end = limit - windowBase;
    skip.c1 = fp[0];
    skip.two = query.foldCase && fp[0] >= 'A' && fp[0] <= 'Z';
    skip.c2 = (unsigned char)(fp[0] + ('a' - 'A'));
    skip.n1 = skip.n2 = -1;

    int32_t q = matchedCount >= 0 && matchedCount < length ? matchedCount : 0;
    const int32_t pairMask = swapped ? ~1 : ~0;
    const int32_t end = limit - windowBase;
    int32_t i = 0;
    while (i < end) {
        if (q == 0) {
            // No partial match: go straight to the next byte (in swapped
            // order, the next pair) that can begin one.
            int32_t hit = skip.next(i & pairMask);
            if (hit >= end) {
                i = end;
                break;
            }
            if ((hit & pairMask) > i) i = hit & pairMask;
        }
        unsigned char b = fold[window[i ^ swapped]];
        while (q > 0 && b != fp[q]) q = fail[q];
        if (b == fp[q]) ++q;
        ++i;
        if (q == length) {
            int32_t pos = windowBase + i - length;
            if (pos >= query.firstPosition && highestOffset(pos, length, swapped) >= query.examinedEnd) {
                r.found = 1;
                r.nextBase = windowBase + i;
                r.matchedCount = 0;
                r.matchStart = lowestOffset(pos, length, swapped);
                r.displayStart = pos;
                return r;
            }
            q = fail[q];
        }
    }
    r.nextBase = limit;
    r.matchedCount = q;
    if (q > 0) {
        r.displayStart = limit - q;
        r.matchStart = lowestOffset(limit - q, q, swapped);
    }
    return r;
}

int32_t findNextStart(int32_t matchOffset, int32_t matchPosition, int32_t patternLength,
                      uint8_t matchSwapped, uint8_t swappedNow)
{
    // The first position, in the order shown now, of a byte of the match.
    int32_t first;
    if (!swappedNow) first = matchOffset;       // its lowest offset, in either order it was found
    else if (matchSwapped) first = matchPosition;
    else first = lowestOffset(matchOffset, patternLength, 1);
    return first + 1;
}

Highlight matchHighlight(int32_t displayStart, int32_t patternLength, uint8_t swapped)
{
    Highlight h;
    h.skipSecond = 0;
    h.skipPenultimate = 0;
    if (!swapped) {
        h.start = displayStart;
        h.length = patternLength;
    } else if (patternLength == 1) {
        h.start = displayStart ^ 1;
        h.length = 1;
    } else {
        int32_t last = displayStart + patternLength - 1;
        h.start = displayStart & ~1;
        h.length = (last | 1) - h.start + 1;
        h.skipSecond = (uint8_t)(displayStart & 1);
        h.skipPenultimate = (uint8_t)!(last & 1);
    }
    return h;
}
