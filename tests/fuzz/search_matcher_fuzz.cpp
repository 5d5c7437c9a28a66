// The matcher driven slice by slice over small windows of exact size,
// against a brute-force scan: any file, pattern, start and options.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "search/matcher.h"

namespace {

unsigned char fold(unsigned char b, bool on) { return on && b >= 'a' && b <= 'z' ? b - 32 : b; }

// The lowest offset of the first occurrence at or after display position start.
int32_t bruteForce(const uint8_t *file, int32_t n, const uint8_t *p, int32_t L, bool folded, bool swapped,
                   int32_t start)
{
    int32_t shown = swapped ? (n & ~1) : n;
    for (int32_t j = 0; j + L <= shown; ++j) {
        int32_t k = 0, low = j + L;
        for (; k < L; ++k) {
            int32_t o = swapped ? ((j + k) ^ 1) : j + k;
            if (fold(file[o], folded) != fold(p[k], folded)) break;
            if (o < low) low = o;
        }
        if (k == L && j >= start) return low;
    }
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4) return 0;
    bool folded = data[0] & 1, swapped = data[0] & 2;
    int32_t windowSize = 2 + 2 * ((data[0] >> 2) & 15);
    int32_t length = 1 + data[1] % 16;
    if (size < 3 + (size_t)length) return 0;
    const uint8_t *pattern = data + 3;
    const uint8_t *file = pattern + length;
    int32_t n = (int32_t)(size - 3 - length);
    int32_t start = n ? data[2] % (n + 1) : 0;

    MatchQuery q = {pattern, length, (uint8_t)folded, (uint8_t)swapped, start, n, 0};
    int32_t base = firstSliceBase(start, swapped), matched = 0, found = -1;
    while (base < n && !(swapped && base + 1 >= n)) {
        unsigned char *window = (unsigned char *)malloc(windowSize);
        for (int32_t i = 0; i < windowSize; ++i) window[i] = base + i < n ? file[base + i] : pattern[i % length];
        SliceResult r = matchSlice(window, base, windowSize, q, matched);
        free(window);
        if (r.nextBase <= base || r.nextBase > base + windowSize) abort();
        if (r.found) {
            found = r.matchStart;
            break;
        }
        if (r.matchedCount < 0 || r.matchedCount >= length) abort();
        matched = r.matchedCount;
        base = r.nextBase;
    }
    if (found != bruteForce(file, n, pattern, length, folded, swapped, start)) abort();
    return 0;
}
