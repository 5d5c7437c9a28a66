// Strings and characters as both programs use them: a bounded copy, and the
// character classes and case mapping of the classic locale. No window code
// and no C library behind them, so the programs need no C runtime DLL.
#ifndef QUILLON_RUNTIME_TEXT_H
#define QUILLON_RUNTIME_TEXT_H

#include <stddef.h>

// Copies text into dest of destSize characters, cut to fit and always
// ended with a zero (nothing is written when destSize is 0).
void copyText(char *dest, size_t destSize, const char *text);

// True when the two texts are equal, character for character.
bool sameText(const char *a, const char *b);

// The last occurrence of c in text, or NULL.
const char *lastCharOf(const char *text, char c);

// The classic locale: ASCII letters and digits only.
bool isHexDigit(char c);
bool isLetter(char c);
char upperCase(char c);
char lowerCase(char c);

#endif
