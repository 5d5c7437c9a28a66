#include "runtime/format.h"

namespace {

// The text being written: characters past the buffer are counted only.
struct Output {
    char *dest;
    size_t size;
    size_t length;
};

void put(Output *out, char c)
{
    if (out->length + 1 < out->size) out->dest[out->length] = c;
    ++out->length;
}

void putRun(Output *out, char c, int count)
{
    for (; count > 0; --count) put(out, c);
}

// The digits of value in base (8, 10 or 16), most significant first;
// returns their number.
int toDigits(char *digits, unsigned long value, unsigned base)
{
    static const char symbols[] = "0123456789abcdef";
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = symbols[value % base];
        value /= base;
    } while (value != 0);
    for (int i = 0; i < n; ++i) digits[i] = reversed[n - 1 - i];
    return n;
}

}  // namespace

int formatTextList(char *dest, size_t size, const char *format, va_list args)
{
    Output out = {dest, size, 0};
    bool known = true;
    for (const char *p = format; known && *p; ++p) {
        if (*p != '%') {
            put(&out, *p);
            continue;
        }
        ++p;
        bool zeroPad = false;
        while (*p == '0') {
            zeroPad = true;
            ++p;
        }
        int width = 0;
        for (; *p >= '0' && *p <= '9'; ++p) width = width * 10 + (*p - '0');
        int precision = -1;
        if (p[0] == '.' && p[1] == '*') {
            precision = va_arg(args, int);
            p += 2;
        }
        bool isLong = false;
        if (*p == 'l') {
            isLong = true;
            ++p;
        }

        char digits[24];
        const char *text = digits;
        int length = 0;
        char sign = 0;
        switch (*p) {
        case 'c':
            digits[0] = (char)va_arg(args, int);
            length = 1;
            zeroPad = false;
            break;
        case 's':
            text = va_arg(args, const char *);
            while (text[length] && (precision < 0 || length < precision)) ++length;
            zeroPad = false;
            break;
        case 'd':
        case 'i': {
            long value = isLong ? va_arg(args, long) : (long)va_arg(args, int);
            unsigned long magnitude = (unsigned long)value;
            if (value < 0) {
                sign = '-';
                magnitude = 0 - magnitude;
            }
            length = toDigits(digits, magnitude, 10);
            break;
        }
        case 'u':
        case 'x':
        case 'o': {
            unsigned long value = isLong ? va_arg(args, unsigned long) : (unsigned long)va_arg(args, unsigned);
            length = toDigits(digits, value, *p == 'u' ? 10 : *p == 'x' ? 16 : 8);
            break;
        }
        case '%':
            digits[0] = '%';
            length = 1;
            width = 0;
            break;
        default:
            // Not a conversion this formatter knows: the text ends here.
            known = false;
            continue;
        }

        int pad = width - length - (sign ? 1 : 0);
        if (!zeroPad) putRun(&out, ' ', pad);
        if (sign) put(&out, sign);
        if (zeroPad) putRun(&out, '0', pad);
        for (int i = 0; i < length; ++i) put(&out, text[i]);
    }
    if (size > 0) dest[out.length < size ? out.length : size - 1] = '\0';
    return (int)out.length;
}

int formatText(char *dest, size_t size, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int n = formatTextList(dest, size, format, args);
    va_end(args);
    return n;
}
