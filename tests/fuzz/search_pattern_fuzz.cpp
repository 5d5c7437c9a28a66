// Building the search pattern from anything typed or pasted: the tidied
// hex field, the text field's update and the numbers to add, into buffers
// of exactly the sizes the dialog uses.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "search/pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3) return 0;
    int32_t caret = data[0] * 4 + data[1];
    uint8_t format = data[2];
    size_t n = size - 3;
    char *text = (char *)malloc(n + 1);
    memcpy(text, data + 3, n);
    text[n] = '\0';

    char *hex = (char *)malloc(PATTERN_HEX_CHARS);
    int32_t newCaret = -1;
    int32_t m = normalizeHexText(text, caret, hex, PATTERN_HEX_CHARS, &newCaret);
    if (m < 0 || m >= PATTERN_HEX_CHARS || (int32_t)strlen(hex) != m) abort();
    if (newCaret < 0 || newCaret > m) abort();
    for (int32_t i = 0; i < m; ++i)
        if (hex[i] != ' ' && !strchr("0123456789abcdefABCDEF", hex[i])) abort();

    unsigned char *pattern = (unsigned char *)malloc(MAX_PATTERN_BYTES);
    int32_t length = parseHexText(pattern, MAX_PATTERN_BYTES, hex);
    if (length < 0 || length > MAX_PATTERN_BYTES) abort();
    char *shownHex = (char *)malloc(PATTERN_HEX_CHARS);
    if (bytesToHexText(shownHex, PATTERN_HEX_CHARS, pattern, length) != 3 * length) abort();

    // Whatever the text field holds, the pattern shows as that text
    // (up to the characters it cannot show as themselves).
    length = updatePatternFromText(pattern, length, text, caret);
    if (length < 0 || length > MAX_PATTERN_BYTES) abort();
    char *shown = (char *)malloc(PATTERN_TEXT_CHARS);
    patternToText(shown, PATTERN_TEXT_CHARS, pattern, length);
    for (int32_t i = 0; i < length; ++i) {
        unsigned char want = (unsigned char)text[i];
        if (want == 0x09) want = MIDDLE_DOT;
        if ((unsigned char)shown[i] != want) abort();
    }

    unsigned char bytes[4];
    int32_t count = 0;
    if (convertNumber(text, format, bytes, &count) && count != 1 && count != 2 && count != 4) abort();
    if (count > 0) {
        int32_t joined = appendBytesToHex(shownHex, PATTERN_HEX_CHARS, hex, bytes, count);
        if (joined >= PATTERN_HEX_CHARS) abort();
        if (joined >= 0 && parseHexText(pattern, MAX_PATTERN_BYTES, shownHex) !=
                               parseHexText(pattern, MAX_PATTERN_BYTES, hex) + count)
            abort();
    }
    free(shown);
    free(shownHex);
    free(pattern);
    free(hex);
    free(text);
    return 0;
}
