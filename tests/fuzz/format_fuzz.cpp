// The runtime's formatter against the C library's snprintf: up to three
// conversions of every kind the programs use, with flags, widths, values and
// buffer sizes from the input. Text, cut and result must be the same.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "runtime/format.h"

// The formats are built from the input on purpose.
#pragma clang diagnostic ignored "-Wformat-security"

namespace {

enum Kind { INT, UNSIGNED, LONG, UNSIGNED_LONG, CHAR, TEXT, CUT_TEXT, PERCENT, KINDS };

struct Conversion {
    Kind kind;
    int32_t value;
};

const char *const texts[] = {"", "a", "Quillon 95", "c:\\quillon95\\", "%d"};

char format[64];
size_t destSize;

template <typename... Args> void check(Args... args)
{
    char ours[96], library[96];
    memset(ours, 0x5A, sizeof ours);
    memset(library, 0x5A, sizeof library);
    int n = formatText(ours, destSize, format, args...);
    int m = snprintf(library, destSize, format, args...);
    if (n != m || memcmp(ours, library, sizeof ours) != 0) {
        fprintf(stderr, "format \"%s\" size %zu: \"%.*s\" %d, library \"%.*s\" %d\n", format, destSize,
                (int)sizeof ours, ours, n, (int)sizeof library, library, m);
        abort();
    }
}

template <int K, typename... Args> void build(const Conversion *conversions, int count, Args... args)
{
    if constexpr (K == 3) {
        check(args...);
    } else {
        if (K == count) return check(args...);
        int32_t v = conversions[K].value;
        const char *text = texts[(uint32_t)v % (sizeof texts / sizeof *texts)];
        switch (conversions[K].kind) {
        case INT: return build<K + 1>(conversions, count, args..., (int)v);
        case UNSIGNED: return build<K + 1>(conversions, count, args..., (unsigned)v);
        case LONG: return build<K + 1>(conversions, count, args..., (long)v);
        case UNSIGNED_LONG: return build<K + 1>(conversions, count, args..., (unsigned long)(uint32_t)v);
        case CHAR: return build<K + 1>(conversions, count, args..., (int)(unsigned char)v);
        case TEXT: return build<K + 1>(conversions, count, args..., text);
        case CUT_TEXT: return build<K + 1>(conversions, count, args..., (int)((v >> 8) % 14 - 2), text);
        default: return build<K + 1>(conversions, count, args...);
        }
    }
}

}  // namespace

// Input: the buffer size, then per conversion a kind byte (kind, flag '0',
// 'l'), a width byte and four value bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    destSize = data[0] % 97;
    Conversion conversions[3];
    int count = 0;
    size_t f = 0;
    format[f++] = '<';
    for (size_t at = 1; count < 3 && at + 6 <= size; at += 6, ++count) {
        uint8_t k = data[at], w = data[at + 1] % 16;
        Conversion &s = conversions[count];
        s.kind = (Kind)(k % KINDS);
        memcpy(&s.value, data + at + 2, 4);
        bool isLong = (k >> 4) & 1;
        if (s.kind == INT || s.kind == UNSIGNED) s.kind = isLong ? (Kind)(s.kind + LONG) : s.kind;
        static const char letters[KINDS] = {'i', 'u', 'i', 'u', 'c', 's', 's', '%'};
        char c = letters[s.kind];
        if (c == 'i' && (k & 0x80)) c = 'd';
        if (c == 'u' && (k & 0x80)) c = (k & 0x40) ? 'o' : 'x';
        format[f++] = '%';
        if (c != '%') {
            if ((k >> 3) & 1 && c != 'c' && c != 's') format[f++] = '0';
            if (w > 0) f += (size_t)snprintf(format + f, 4, "%d", w);
            if (s.kind == CUT_TEXT) f += (size_t)snprintf(format + f, 4, ".*");
            if (s.kind == LONG || s.kind == UNSIGNED_LONG) format[f++] = 'l';
        }
        format[f++] = c;
        format[f++] = '|';
    }
    format[f] = '\0';
    build<0>(conversions, count);
    return 0;
}
