// The arithmetic of the Go to offset, Edit value and View Format dialogs:
// numbers read and written in their radixes, the value range of a unit,
// the little-endian write of a unit, and the texts the dialogs show.
#ifndef QUILLON_NUMBERS_H
#define QUILLON_NUMBERS_H

#include <stddef.h>
#include <stdint.h>

// Go to offset radixes.
enum { RADIX_HEX = 0, RADIX_DEC = 1, RADIX_OCT = 2 };

// One number as the C library's integer conversions read it: blanks, a
// sign, for base 16 an optional 0x, for base 0 the prefix chooses 16, 8 or
// 10, then the digits. The magnitude stops growing at UINT64_MAX. False when
// no digit was read. Every number the programs read goes through here.
bool readNumber(const char *text, int base, bool *negative, uint64_t *magnitude);

// Reads one number as the library's "%lx", "%lu" or "%lo" does for a 32-bit
// unsigned long: leading blanks, an optional sign, the digits of the radix
// (hexadecimal may carry 0x). Reading stops at the first character that does
// not fit; a text without a number gives 0. Numbers past 32 bits give
// 0xffffffff; a minus sign negates modulo 2^32.
uint32_t parseOffsetNumber(const char *text, int32_t radix);

// Writes the value in the radix: lowercase digits, no prefix, no padding.
void formatOffsetNumber(char *dest, size_t destSize, uint32_t value, int32_t radix);

// The offset the jump lands on: the value, or the file's last byte when the
// value, taken as unsigned, is at or beyond the end of the file.
int32_t goToTarget(uint32_t value, int32_t fileSize);

// Reads a new unit value typed in the current format and checks its range:
// hexadecimal ("%lx") and unsigned decimal ("%u"/"%lu") read a 32-bit value
// (a minus sign negates it modulo 2^32) that must lie within 0 to the unit's
// maximum, signed decimal ("%i"/"%li", with 0x and 0 prefixes) takes the
// unit's signed range. True with the unit's bit pattern in *value when a
// number was read and fits; false otherwise (nothing is cut to fit).
bool parseUnitValue(const char *text, bool hexValues, bool signedValues, int32_t unitBytes,
                    uint32_t *value);

// Writes the value's bytes least significant first into dest, byte k only
// if it lies inside the file (missingBytes <= 3 - k, counted as the hex
// view's missingBytes counts them); byte 0 always.
// Returns the number of bytes written.
int32_t storeUnitValue(unsigned char *dest, uint32_t value, int32_t unitBytes,
                       int32_t missingBytes);

// "Hexadecimal (8 bits)", "Signed Decimal (16 bits)", ...
void unitTypeText(char *dest, size_t destSize, uint8_t viewFormat);

// The Edit value dialog's caption: "Offset (HEX): %lx" for a one-byte
// unit, else "Offset (HEX): %lx - %lx" up to the unit's last byte inside
// the file; "(DEC)" and decimal numbers without hexOffsets.
void editValueCaption(char *dest, size_t destSize, bool hexOffsets, int32_t caretOffset,
                      int32_t unitBytes, int32_t fileSize);

// The ViewFormat byte of the View Format dialog's check states.
uint8_t formatFromChecks(bool hexValues, bool size16, bool size32, bool signedValues,
                         bool hexOffsets, bool swapText);

// The start of the unit of unitBytes that holds offset.
int32_t alignToUnit(int32_t offset, int32_t unitBytes);

#endif
