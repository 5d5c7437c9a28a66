// Bounded text formatting for both programs, in place of the C library's.
// It knows the conversions the programs use, nothing more: %% %c %s %.*s
// and the integers %d %i %u %x %o, each with an optional 'l', the flag '0'
// and a width. Integers are written as the library writes them: lowercase
// hexadecimal, a minus sign for negative signed values, zero padding after
// the sign.
#ifndef QUILLON_RUNTIME_FORMAT_H
#define QUILLON_RUNTIME_FORMAT_H

#include <stdarg.h>
#include <stddef.h>

// Writes at most size - 1 characters and a zero into dest (nothing when
// size is 0). Returns the length of the whole text, even when it was cut,
// so that a result of size or more tells that it did not fit.
int formatText(char *dest, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
int formatTextList(char *dest, size_t size, const char *format, va_list args);

#endif
