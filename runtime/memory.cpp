// The memory and string primitives that the compiler emits calls to (block
// copies, clears and compares) and that the code calls by name, for the
// shipped programs, which link no C library. Compiled so that GCC does not
// turn these loops back into calls to themselves.
#include <stddef.h>
#include <stdint.h>

namespace {

// A four-byte word at any address.
typedef uint32_t __attribute__((may_alias, aligned(1))) Word;

}  // namespace

extern "C" {

void *memcpy(void *dest, const void *src, size_t n)
{
    unsigned char *d = (unsigned char *)dest;
    const unsigned char *s = (const unsigned char *)src;
    for (; n >= 4; n -= 4, d += 4, s += 4) *(Word *)d = *(const Word *)s;
    for (; n > 0; --n) *d++ = *s++;
    return dest;
}

void *memmove(void *dest, const void *src, size_t n)
{
    unsigned char *d = (unsigned char *)dest;
    const unsigned char *s = (const unsigned char *)src;
    if ((uintptr_t)d - (uintptr_t)s >= n) return memcpy(dest, src, n);
    // dest overlaps the end of src: copied from the back.
    while (n > 0) {
        --n;
        d[n] = s[n];
    }
    return dest;
}

void *memset(void *dest, int c, size_t n)
{
    unsigned char *d = (unsigned char *)dest;
    uint32_t word = 0x01010101u * (unsigned char)c;
    for (; n >= 4; n -= 4, d += 4) *(Word *)d = word;
    for (; n > 0; --n) *d++ = (unsigned char)c;
    return dest;
}

int memcmp(const void *a, const void *b, size_t n)
{
    const unsigned char *x = (const unsigned char *)a, *y = (const unsigned char *)b;
    for (; n > 0; --n, ++x, ++y)
        if (*x != *y) return *x - *y;
    return 0;
}

void *memchr(const void *block, int c, size_t n)
{
    const unsigned char *p = (const unsigned char *)block;
    for (; n > 0; --n, ++p)
        if (*p == (unsigned char)c) return (void *)p;
    return NULL;
}

size_t strlen(const char *text)
{
    const char *p = text;
    while (*p) ++p;
    return (size_t)(p - text);
}

}  // extern "C"
