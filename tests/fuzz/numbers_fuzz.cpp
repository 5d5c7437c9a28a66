// The numbers of the Go to offset and Edit value dialogs from any typed
// text: the offset read as the C library's strtoul reads it for a 32-bit
// unsigned long, unit values that fit their unit and read back the same,
// and the texts into buffers of exact size.
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "dialogs/numbers.h"
#include "hexview/rowtext.h"

namespace {

// What "%lx", "%lu" or "%lo" gives with a 32-bit unsigned long: strtoul's
// rule (a magnitude past the range gives the largest value, a minus sign
// negates), computed here in 64 bits.
uint32_t libraryOffset(const char *text, int base)
{
    const char *p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = *p == '-';
    char *end = NULL;
    errno = 0;
    unsigned long long r = strtoull(text, &end, base);
    if (end == text) return 0;
    if (errno == ERANGE) return 0xFFFFFFFFu;
    unsigned long long magnitude = negative ? 0ull - r : r;
    if (magnitude > 0xFFFFFFFFull) return 0xFFFFFFFFu;
    return negative ? 0u - (uint32_t)magnitude : (uint32_t)magnitude;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 10) return 0;
    uint8_t format = data[0];
    size_t destSize = data[1] + 1;
    int32_t caret, fileSize;
    memcpy(&caret, data + 2, 4);
    memcpy(&fileSize, data + 6, 4);
    fileSize &= 0x7FFFFFFF;
    char *text = (char *)malloc(size - 9);
    memcpy(text, data + 10, size - 10);
    text[size - 10] = '\0';
    char *dest = (char *)malloc(destSize);

    static const int bases[3] = {16, 10, 8};
    for (int32_t radix = RADIX_HEX; radix <= RADIX_OCT; ++radix) {
        uint32_t value = parseOffsetNumber(text, radix);
        if (value != libraryOffset(text, bases[radix])) abort();
        char shown[16];
        formatOffsetNumber(shown, sizeof shown, value, radix);
        if (parseOffsetNumber(shown, radix) != value) abort();
        formatOffsetNumber(dest, destSize, value, radix);
        if (strlen(dest) >= destSize) abort();
        int32_t target = goToTarget(value, fileSize);
        if (fileSize > 0 ? target < 0 || target >= fileSize : target != 0) abort();
    }

    bool hexValues = format & 0x01, signedValues = format & 0x08;
    static const int32_t unitSizes[3] = {1, 2, 4};
    for (int32_t unitBytes : unitSizes) {
        uint32_t value = 0;
        if (!parseUnitValue(text, hexValues, signedValues, unitBytes, &value)) continue;
        if (unitBytes < 4 && value >> (8 * unitBytes)) abort();
        // The value written back in the dialog's format reads back the same.
        char shown[32];
        if (hexValues) snprintf(shown, sizeof shown, "%lx", (unsigned long)value);
        else if (signedValues) {
            int64_t v = unitBytes == 1 ? (int8_t)value : unitBytes == 2 ? (int16_t)value : (int32_t)value;
            snprintf(shown, sizeof shown, "%lld", (long long)v);
        } else snprintf(shown, sizeof shown, "%lu", (unsigned long)value);
        uint32_t again = 0;
        if (!parseUnitValue(shown, hexValues, signedValues, unitBytes, &again) || again != value) abort();

        unsigned char *unit = (unsigned char *)malloc(4);
        int8_t missing = missingBytes(caret, fileSize);     // any offset
        if (missing < 0 || missing > 4) abort();
        int32_t written = storeUnitValue(unit, value, unitBytes, missing);
        if (written < 1 || written > unitBytes) abort();
        free(unit);
    }

    unitTypeText(dest, destSize, format);
    if (strlen(dest) >= destSize) abort();
    // The caret stands on a byte of the file; the dialog edits the unit
    // that holds it.
    int32_t inFile = fileSize > 0 ? (int32_t)((uint32_t)caret % (uint32_t)fileSize) : 0;
    for (int32_t unitBytes : unitSizes) {
        int32_t aligned = alignToUnit(inFile, unitBytes);
        if (aligned > inFile || inFile - aligned >= unitBytes || aligned % unitBytes) abort();
        editValueCaption(dest, destSize, format & 0x10, aligned, unitBytes, fileSize);
        if (strlen(dest) >= destSize) abort();
    }
    free(dest);
    free(text);
    return 0;
}
