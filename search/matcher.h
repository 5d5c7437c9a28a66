// The search's matcher: one slice over one window of the file, with the
// partial match carried from window to window. No window code here.
//
// Bytes are compared in display order. In plain order that is file order;
// in swapped order each pair (even offset, odd offset) is read odd byte
// first, as the text column shows it, and only complete pairs take part.
// A display position j shows the byte at offset j in plain order and at
// offset j ^ 1 in swapped order, so positions and offsets cover the same
// range and a window that starts at an even offset holds whole pairs.
#ifndef QUILLON_MATCHER_H
#define QUILLON_MATCHER_H

#include <stdint.h>

enum { MAX_PATTERN_BYTES = 255 };

// The comparison rule: with folding, a-z compare equal to A-Z and every
// other byte compares exactly.
unsigned char foldByte(unsigned char b);

struct MatchQuery {
    const unsigned char *pattern;
    int32_t patternLength;      // 1 .. MAX_PATTERN_BYTES
    uint8_t foldCase;
    uint8_t swapped;
    int32_t firstPosition;      // occurrences beginning before this display position are not reported
    int32_t fileSize;
    int32_t examinedEnd;        // nor those whose bytes all lie below this offset: they were
                                // examined with an earlier target (0: none were)
};

struct SliceResult {
    uint8_t found;
    int32_t nextBase;           // offset where the next slice begins
    int32_t matchedCount;       // the partial match carried to the next slice
    int32_t matchStart;         // lowest offset of the (partial) match; fileSize if none
    int32_t displayStart;       // display position of the match's first byte
};

// Examines window[0 .. windowSize) (file offsets windowBase ..) up to the
// end of the file, carrying matchedCount pattern bytes already matched,
// and stops at the first complete match. Reads no byte at or past
// fileSize.
SliceResult matchSlice(const unsigned char *window, int32_t windowBase, int32_t windowSize,
                       const MatchQuery &query, int32_t matchedCount);

// Where a search from display position start loads its first window: the
// start itself, or the start of its pair in swapped order.
int32_t firstSliceBase(int32_t start, uint8_t swapped);

// Where a search whose pattern, case rule or byte order changed under it
// scans again, as a display position: the bytes below file offset
// examinedEnd were examined with the old target, so the first occurrence of
// the new pattern that reaches a byte above them begins at most
// patternLength - 1 positions before the first position that shows such a
// byte. Never before searchStart, so nothing found before is found again.
int32_t rescanStart(int32_t examinedEnd, int32_t searchStart, int32_t patternLength, uint8_t swapped);

// Where Find Next goes on, as a display position of the order the view
// shows now (swappedNow): after the first position that shows a byte of
// the last match. The match, at lowest offset matchOffset and display
// position matchPosition, was found in the order matchSwapped; after a
// change of order its bytes show elsewhere, and none of them is reported
// again.
int32_t findNextStart(int32_t matchOffset, int32_t matchPosition, int32_t patternLength,
                      uint8_t matchSwapped, uint8_t swappedNow);

// The highlight of a match found at display position displayStart: the
// range of offsets it spans, and whether byte 1 and byte length - 2 of
// that range lie outside the match (possible in swapped order only).
struct Highlight {
    int32_t start;
    int32_t length;
    uint8_t skipSecond;
    uint8_t skipPenultimate;
};
Highlight matchHighlight(int32_t displayStart, int32_t patternLength, uint8_t swapped);

#endif
