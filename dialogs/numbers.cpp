#include "dialogs/numbers.h"

#include "runtime/format.h"

#include "hexview/rowtext.h"

namespace {

int digitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const int radixBase[3] = {16, 10, 8};

}  // namespace

bool readNumber(const char *text, int base, bool *negative, uint64_t *magnitude)
{
    const char *p = text;
    while (isBlank(*p)) ++p;
    *negative = false;
    if (*p == '+' || *p == '-') {
        *negative = *p == '-';
        ++p;
    }
    bool hexPrefix = p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16;
    if (base == 0) {
        if (hexPrefix) base = 16;
        else if (p[0] == '0') base = 8;
        else base = 10;
    }
    if (base == 16 && hexPrefix) p += 2;

    uint64_t value = 0;
    bool any = false;
    for (; digitValue(*p) < base; ++p) {
        uint64_t d = (uint64_t)digitValue(*p);
        if (value > (UINT64_MAX - d) / (uint64_t)base) value = UINT64_MAX;
        else value = value * (uint64_t)base + d;
        any = true;
    }
    *magnitude = value;
    return any;
}

uint32_t parseOffsetNumber(const char *text, int32_t radix)
{
    if (radix < 0 || radix > 2) return 0;
    bool negative;
    uint64_t magnitude;
    if (!readNumber(text, radixBase[radix], &negative, &magnitude)) return 0;
    if (magnitude > 0xFFFFFFFFu) return 0xFFFFFFFFu;
    uint32_t value = (uint32_t)magnitude;
    return negative ? 0u - value : value;
}

void formatOffsetNumber(char *dest, size_t destSize, uint32_t value, int32_t radix)
{
    static const char *const formats[3] = {"%lx", "%lu", "%lo"};
    if (radix < 0 || radix > 2) radix = 0;
    formatText(dest, destSize, formats[radix], (unsigned long)value);
}

int32_t goToTarget(uint32_t value, int32_t fileSize)
{
    if (fileSize <= 0) return 0;
    if (value >= (uint32_t)fileSize) return fileSize - 1;
    return (int32_t)value;
}

bool parseUnitValue(const char *text, bool hexValues, bool signedValues, int32_t unitBytes,
                    uint32_t *value)
{
    bool isSigned = !hexValues && signedValues;
    int base = hexValues ? 16 : (isSigned ? 0 : 10);
    bool negative;
    uint64_t magnitude;
    if (!readNumber(text, base, &negative, &magnitude)) return false;

    int bits = unitBytes >= 4 ? 32 : unitBytes == 2 ? 16 : 8;
    uint64_t unsignedMax = (bits == 32) ? 0xFFFFFFFFull : ((1ull << bits) - 1);
    uint64_t signedMax = unsignedMax >> 1;          // 127, 32767, 2147483647
    uint64_t mask = unsignedMax;

    if (isSigned) {
        if (negative ? magnitude > signedMax + 1 : magnitude > signedMax) return false;
        uint64_t pattern = negative ? (0 - magnitude) : magnitude;
        *value = (uint32_t)(pattern & mask);
        return true;
    }
    // Unsigned and hexadecimal, as the conversions read a 32-bit number: a
    // minus sign negates modulo 2^32 ("-1" is 0xffffffff, "-0" is 0); the
    // result must then fit the unit.
    if (magnitude > 0xFFFFFFFFu) return false;
    uint32_t pattern = negative ? 0u - (uint32_t)magnitude : (uint32_t)magnitude;
    if (pattern > unsignedMax) return false;
    *value = pattern;
    return true;
}

int32_t storeUnitValue(unsigned char *dest, uint32_t value, int32_t unitBytes,
                       int32_t missingBytes)
{
    int32_t written = 0;
    for (int32_t k = 0; k < unitBytes && k < 4; ++k) {
        if (k > 0 && missingBytes > 3 - k) continue;
        dest[k] = (unsigned char)(value >> (8 * k));
        ++written;
    }
    return written;
}

void unitTypeText(char *dest, size_t destSize, uint8_t viewFormat)
{
    const char *kind = (viewFormat & VF_HEX_VALUES) ? "Hexadecimal "
                       : (viewFormat & VF_SIGNED)   ? "Signed Decimal "
                                                    : "Unsigned Decimal ";
    uint8_t unitSize = viewFormat & VF_UNIT_SIZE;
    const char *size = unitSize == VF_UNIT_16 ? "(16" : unitSize == VF_UNIT_32 ? "(32" : "(8";
    formatText(dest, destSize, "%s%s bits)", kind, size);
}

void editValueCaption(char *dest, size_t destSize, bool hexOffsets, int32_t caretOffset,
                      int32_t unitBytes, int32_t fileSize)
{
    unsigned long first = (unsigned long)(uint32_t)caretOffset;
    if (unitBytes <= 1) {
        formatText(dest, destSize, hexOffsets ? "Offset (HEX): %lx" : "Offset (DEC): %lu", first);
        return;
    }
    // In 64 bits: the unit's end passes the signed 32-bit range at the end of
    // a 2 GiB file.
    int64_t last = (int64_t)caretOffset + (unitBytes - 1);
    if (fileSize - 1 < last) last = fileSize - 1;
    formatText(dest, destSize, hexOffsets ? "Offset (HEX): %lx - %lx" : "Offset (DEC): %lu - %lu",
               first, (unsigned long)(uint32_t)last);
}

uint8_t formatFromChecks(bool hexValues, bool size16, bool size32, bool signedValues,
                         bool hexOffsets, bool swapText)
{
    uint8_t format = 0;
    if (hexValues) format |= VF_HEX_VALUES;
    if (size16) format |= VF_UNIT_16;
    if (size32) format |= VF_UNIT_32;
    if (signedValues) format |= VF_SIGNED;
    if (hexOffsets) format |= VF_HEX_OFFSETS;
    if (swapText) format |= VF_SWAP_TEXT;
    return format;
}

int32_t alignToUnit(int32_t offset, int32_t unitBytes)
{
    if (unitBytes <= 0) return offset;
    return offset / unitBytes * unitBytes;
}
