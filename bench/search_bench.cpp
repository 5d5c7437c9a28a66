// CPU cost of one search slice over a full window, next to the C library
// scanning the same bytes: memchr walking every occurrence of the
// pattern's first byte, and memmem looking for the whole pattern. Built
// with optimisation and without sanitizers; prints nanoseconds per byte.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "search/matcher.h"

namespace {

const int32_t WINDOW = 32752;
volatile intptr_t sink;

double nsPerByte(const std::function<void()> &run)
{
    const int reps = 400;
    double best = 1e30;
    for (int round = 0; round < 7; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < reps; ++i) run();
        auto t1 = std::chrono::steady_clock::now();
        double ns = std::chrono::duration<double, std::nano>(t1 - t0).count() / reps / WINDOW;
        if (ns < best) best = ns;
    }
    return best;
}

void memchrWalk(const unsigned char *w, unsigned char c)
{
    intptr_t hits = 0;
    const unsigned char *p = w, *end = w + WINDOW;
    while (p < end && (p = (const unsigned char *)memchr(p, c, (size_t)(end - p))) != nullptr) {
        ++hits;
        ++p;
    }
    sink = hits;
}

struct Case {
    const char *name;
    std::vector<unsigned char> window;
    std::string pattern;
    bool fold, swapped;
};

}  // namespace

int main()
{
    std::mt19937 rng(42);
    std::vector<unsigned char> binary(WINDOW), text(WINDOW);
    for (unsigned char &b : binary) b = (unsigned char)rng();
    const char letters[] = "etaoinshrdlucmfwypvbgkqjxz      ETAOINSHRDLU.,";
    for (unsigned char &b : text) b = (unsigned char)letters[rng() % (sizeof letters - 1)];

    std::string hex = "\xde\xad\xbe\xef\x01\x23\x45\x67";
    std::vector<unsigned char> zeros(WINDOW, 0);
    Case cases[] = {
        {"hex search, random bytes", binary, hex, false, false},
        {"text search, exact, text", text, "quillon", false, false},
        {"text search, folded, text", text, "quillon", true, false},
        {"text search, folded, swapped, text", text, "quillon", true, true},
        {"text search, folded, 'e' first, text", text, "entropy", true, false},
        {"hex search 00 00 00 01, window of zeros", zeros, std::string("\0\0\0\1", 4), false, false},
    };
    printf("Search slice over one window of %d bytes (ns per byte; best of 7 x 400 windows)\n", WINDOW);
    printf("%-40s %9s %9s %9s %12s %12s\n", "case", "memchr", "memmem", "slice", "x memchr", "x memmem");
    for (Case &c : cases) {
        const unsigned char *w = c.window.data();
        const unsigned char *p = (const unsigned char *)c.pattern.data();
        int32_t length = (int32_t)c.pattern.size();
        MatchQuery q = {p, length, (uint8_t)c.fold, (uint8_t)c.swapped, 0, WINDOW, 0};
        if (memmem(w, WINDOW, p, (size_t)length) || matchSlice(w, 0, WINDOW, q, 0).found) {
            printf("%-40s pattern occurs: skipped\n", c.name);
            continue;
        }
        double chr = nsPerByte([&] { memchrWalk(w, p[0]); });
        double mem = nsPerByte([&] { sink = (intptr_t)memmem(w, WINDOW, p, (size_t)length); });
        double slice = nsPerByte([&] { sink = matchSlice(w, 0, WINDOW, q, 0).nextBase; });
        printf("%-40s %9.3f %9.3f %9.3f %12.1f %12.1f\n", c.name, chr, mem, slice, slice / chr, slice / mem);
    }
    return 0;
}
