// Building the search pattern in the Search dialog: the two texts that
// show it (hexadecimal and text), tidying what is typed into the hex
// field, updating the pattern from the text field, and the numbers that
// "&Add value" appends. No window code here.
//
// A pattern holds at most MAX_PATTERN_BYTES bytes; its hexadecimal text
// (three characters a byte) then needs PATTERN_HEX_CHARS characters with
// the ending zero, its text form one character a byte.
#ifndef QUILLON_PATTERN_H
#define QUILLON_PATTERN_H

#include <stdint.h>

#include "search/matcher.h"

enum {
    PATTERN_HEX_CHARS = 3 * MAX_PATTERN_BYTES + 1,
    PATTERN_TEXT_CHARS = MAX_PATTERN_BYTES + 1,
    MIDDLE_DOT = 0xB7           // how the text field shows the bytes 0x00 and 0x09
};

// Each maximal run of hexadecimal digits gives one byte (the run's value
// modulo 256); everything else separates runs. At most capacity bytes are
// stored; returns their number.
int32_t parseHexText(unsigned char *out, int32_t capacity, const char *text);

// Two lowercase digits and a blank for each byte, then a zero. Writes only
// whole groups that fit in outSize; returns the length written.
int32_t bytesToHexText(char *out, int32_t outSize, const unsigned char *bytes, int32_t count);

// The text field's form of the pattern: each byte as its character, 0x00
// and 0x09 as the middle dot; returns the length.
int32_t patternToText(char *out, int32_t outSize, const unsigned char *bytes, int32_t count);

// Tidies the hex field: groups of one or two digits separated by single
// blanks, nothing else; a third digit opens a new group, and no group is
// opened past MAX_PATTERN_BYTES. caret is the caret in input; *newCaret
// receives where it stands in the tidied text. Returns the tidied length.
int32_t normalizeHexText(const char *input, int32_t caret, char *out, int32_t outSize, int32_t *newCaret);

// The pattern after the user edited the text field: text is the field's
// new contents and caret the end of its selection. The characters before
// the caret that differ from the old form are new bytes taken as typed;
// every other byte keeps its value, so bytes shown as the middle dot keep
// theirs. Returns the new length (the field's length, at most
// MAX_PATTERN_BYTES).
int32_t updatePatternFromText(unsigned char *pattern, int32_t oldLength, const char *text, int32_t caret);

// The number field's conversion by a number format (the ViewFormat's
// VF_HEX_VALUES, VF_UNIT_SIZE and VF_SIGNED), read and checked as Edit
// value reads a unit (parseUnitValue). On success writes the value's
// bytes, least significant first, and their count (1, 2 or 4).
bool convertNumber(const char *text, uint8_t numberFormat, unsigned char bytes[4], int32_t *count);

// Characters the number field accepts for a number format.
int32_t numberFieldLimit(uint8_t numberFormat);

// hexText with count bytes appended as hexadecimal groups (after a blank
// if it does not end with one). Returns the new length, or -1 when the
// result would not fit in outSize or would give more than
// MAX_PATTERN_BYTES bytes; out is then unchanged.
int32_t appendBytesToHex(char *out, int32_t outSize, const char *hexText, const unsigned char *bytes,
                         int32_t count);

#endif
