#include "search/pattern.h"

#include <string.h>

#include "dialogs/numbers.h"
#include "hexview/rowtext.h"
#include "runtime/text.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

int32_t countHexRuns(const char *text)
{
    int32_t runs = 0;
    for (const char *c = text; *c; ++c)
        if (isHexDigit(*c) && (c == text || !isHexDigit(c[-1]))) ++runs;
    return runs;
}

}  // namespace

int32_t parseHexText(unsigned char *out, int32_t capacity, const char *text)
{
    int32_t count = 0;
    const char *c = text;
    while (*c) {
        if (!isHexDigit(*c)) {
            ++c;
            continue;
        }
        unsigned value = 0;
        for (; isHexDigit(*c); ++c) value = ((value << 4) | (unsigned)hexValue(*c)) & 0xFF;
        if (count < capacity) out[count++] = (unsigned char)value;
    }
    return count;
}

int32_t bytesToHexText(char *out, int32_t outSize, const unsigned char *bytes, int32_t count)
{
    if (outSize <= 0) return 0;
    int32_t m = 0;
    for (int32_t i = 0; i < count && m + 3 < outSize; ++i) {
        byteToHexPair(out + m, bytes[i]);
        out[m + 2] = ' ';
        m += 3;
    }
    out[m] = '\0';
    return m;
}

int32_t patternToText(char *out, int32_t outSize, const unsigned char *bytes, int32_t count)
{
    if (outSize <= 0) return 0;
    int32_t m = 0;
    for (; m < count && m + 1 < outSize; ++m)
        out[m] = (char)(bytes[m] == 0x00 || bytes[m] == 0x09 ? (unsigned char)MIDDLE_DOT : bytes[m]);
    out[m] = '\0';
    return m;
}

int32_t normalizeHexText(const char *input, int32_t caret, char *out, int32_t outSize, int32_t *newCaret)
{
    // s: 0 between groups, 1 after one digit of a group, 2 after two.
    int s = 0;
    int32_t m = 0, k = 0, groups = 0;
    for (int32_t i = 0; input[i] && outSize > 0; ++i) {
        char x = input[i];
        if (isHexDigit(x)) {
            if (s == 1) {
                if (m + 1 < outSize) {
                    out[m++] = x;
                    s = 2;
                }
            } else if (groups < MAX_PATTERN_BYTES && m + (s == 2) + 1 < outSize) {
                if (s == 2) out[m++] = ' ';
                out[m++] = x;
                s = 1;
                ++groups;
            }
        } else if (x == ' ' && s != 0 && m + 1 < outSize) {
            out[m++] = ' ';
            s = 0;
        }
        if (i < caret) k = m;
    }
    if (outSize > 0) out[m] = '\0';
    if (newCaret) *newCaret = k;
    return m;
}

int32_t updatePatternFromText(unsigned char *pattern, int32_t oldLength, const char *text, int32_t caret)
{
    char old[PATTERN_TEXT_CHARS];
    int32_t m = patternToText(old, sizeof old, pattern, oldLength);
    int32_t n = 0;
    while (n < MAX_PATTERN_BYTES && text[n]) ++n;
    int32_t c = caret < 0 ? 0 : caret > n ? n : caret;

    // What follows the caret is the old pattern's tail, unless the edit
    // was not made at the caret; then the longest common tail is kept.
    int32_t tail = n - c;
    if (tail > m || memcmp(old + m - tail, text + c, (size_t)tail) != 0) {
        tail = 0;
        while (tail < m && tail < n && old[m - 1 - tail] == text[n - 1 - tail]) ++tail;
    }
    int32_t head = 0;
    while (head < m - tail && head < n - tail && old[head] == text[head]) ++head;

    unsigned char result[MAX_PATTERN_BYTES];
    memcpy(result, pattern, (size_t)head);
    for (int32_t i = head; i < n - tail; ++i) result[i] = (unsigned char)text[i];
    memcpy(result + n - tail, pattern + m - tail, (size_t)tail);
    memcpy(pattern, result, (size_t)n);
    return n;
}

bool convertNumber(const char *text, uint8_t numberFormat, unsigned char bytes[4], int32_t *count)
{
    // Read and checked as Edit value reads a unit of the same format.
    int32_t size = unitBytesOf(numberFormat);
    uint32_t value;
    if (!parseUnitValue(text, numberFormat & VF_HEX_VALUES, numberFormat & VF_SIGNED, size, &value))
        return false;
    for (int32_t j = 0; j < size; ++j) bytes[j] = (unsigned char)(value >> (8 * j));
    *count = size;
    return true;
}

int32_t numberFieldLimit(uint8_t numberFormat)
{
    // As wide as the unit's text in the view.
    return rowLayoutOf(numberFormat).unitChars;
}

int32_t appendBytesToHex(char *out, int32_t outSize, const char *hexText, const unsigned char *bytes,
                         int32_t count)
{
    if (countHexRuns(hexText) + count > MAX_PATTERN_BYTES) return -1;
    int32_t len = (int32_t)strlen(hexText);
    int32_t blank = len > 0 && hexText[len - 1] != ' ' ? 1 : 0;
    if ((int64_t)len + blank + 3 * count + 1 > outSize) return -1;
    memmove(out, hexText, (size_t)len);
    int32_t m = len;
    if (blank) out[m++] = ' ';
    for (int32_t j = 0; j < count; ++j) {
        byteToHexPair(out + m, bytes[j]);
        out[m + 2] = ' ';
        m += 3;
    }
    out[m] = '\0';
    return m;
}
