#include "runtime/text.h"

#include <string.h>

void copyText(char *dest, size_t destSize, const char *text)
{
    if (destSize == 0) return;
    size_t n = 0;
    while (n + 1 < destSize && text[n]) ++n;
    memcpy(dest, text, n);
    dest[n] = '\0';
}

bool sameText(const char *a, const char *b)
{
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

const char *lastCharOf(const char *text, char c)
{
    const char *last = NULL;
    for (; *text; ++text)
        if (*text == c) last = text;
    return last;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char upperCase(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

char lowerCase(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }
