#include "hexview/rowtext.h"

#include <string.h>

#include "runtime/format.h"

RowLayout rowLayoutOf(uint8_t viewFormat)
{
    RowLayout l;
    l.offsetChars = (viewFormat & VF_HEX_OFFSETS) ? 8 : 10;
    l.unitChars = 2;
    l.unitsPerRow = 16;
    if ((viewFormat & VF_UNIT_SIZE) == VF_UNIT_16) {
        l.unitChars = 4;
        l.unitsPerRow = 8;
    } else if ((viewFormat & VF_UNIT_SIZE) == VF_UNIT_32) {
        l.unitChars = 8;
        l.unitsPerRow = 4;
    }
    if (!(viewFormat & VF_HEX_VALUES)) l.unitChars += (viewFormat & VF_SIGNED) ? 2 : 1;
    if (l.unitChars > 8) l.unitChars += 1;
    l.rowChars = l.offsetChars + (l.unitChars + 1) * l.unitsPerRow + 19;
    return l;
}

int32_t unitBytesOf(uint8_t viewFormat)
{
    return ROW_BYTES / rowLayoutOf(viewFormat).unitsPerRow;
}

int32_t lineStartOf(const RowLayout &layout)
{
    return layout.offsetChars + (layout.unitChars + 1) * layout.unitsPerRow;
}

int32_t unitColumn(const RowLayout &layout, int32_t u)
{
    return layout.offsetChars + 2 + (layout.unitChars + 1) * u;
}

int32_t textColumn(const RowLayout &layout, int32_t p)
{
    return lineStartOf(layout) + 3 + p;
}

int8_t missingBytes(int32_t offset, int32_t fileSize)
{
    // In 64 bits: offset + 4 passes the 32-bit range at the end of a 2 GiB file.
    int64_t past = (int64_t)offset + 4 - fileSize;
    if (past <= 0) return 0;
    return past > 4 ? 4 : (int8_t)past;
}

void byteToHexPair(char *destination, unsigned value)
{
    static const char digits[] = "0123456789abcdef";
    destination[0] = digits[(value >> 4) & 0x0F];
    destination[1] = digits[value & 0x0F];
}

int32_t formatUnit(char *destination, size_t destinationSize, const unsigned char *bytes,
                   int8_t missing, uint8_t viewFormat)
{
    if (destinationSize < UNIT_TEXT_MAX + 1) {
        if (destinationSize > 0) destination[0] = '\0';
        return 0;
    }
    int32_t unitBytes = unitBytesOf(viewFormat);
    uint32_t value = bytes[0];
    for (int32_t k = 1; k < unitBytes; ++k)
        if (missing <= 3 - k) value |= (uint32_t)bytes[k] << (8 * k);

    bool hex = (viewFormat & VF_HEX_VALUES) != 0;
    bool isSigned = (viewFormat & VF_SIGNED) != 0;
    int n = 0;
    switch (unitBytes) {
    case 1:
        if (hex) {
            byteToHexPair(destination, value);
            destination[2] = '\0';
            n = 2;
        } else if (isSigned) {
            n = formatText(destination, destinationSize, "%4i", (int)(int8_t)value);
        } else {
            n = formatText(destination, destinationSize, "%3u", (unsigned)value);
        }
        break;
    case 2:
        if (hex) n = formatText(destination, destinationSize, "%04x", (unsigned)value);
        else if (isSigned) n = formatText(destination, destinationSize, "%6i", (int)(int16_t)value);
        else n = formatText(destination, destinationSize, "%5u", (unsigned)value);
        break;
    default:
        if (hex) n = formatText(destination, destinationSize, "%08lx", (unsigned long)value);
        else if (isSigned) n = formatText(destination, destinationSize, "%11li", (long)(int32_t)value);
        else n = formatText(destination, destinationSize, "%10lu", (unsigned long)value);
        break;
    }
    return n;
}

int32_t swapPosition(int32_t i, uint8_t viewFormat)
{
    if (!(viewFormat & VF_SWAP_TEXT)) return i;
    return (i % 2 == 0) ? i + 1 : i - 1;
}

char textCharOf(unsigned char b)
{
    return (b >= 0x20 && b <= 0x7F) ? (char)b : ' ';
}

int32_t composeRow(char *line, size_t lineSize, const unsigned char *rowBytes, int32_t rowOffset,
                   int32_t fileSize, uint8_t viewFormat)
{
    RowLayout l = rowLayoutOf(viewFormat);
    if (lineSize < (size_t)l.rowChars + 1) {
        if (lineSize > 0) line[0] = '\0';
        return 0;
    }
    memset(line, ' ', l.rowChars);
    line[l.rowChars] = '\0';

    char digits[16];
    if (viewFormat & VF_HEX_OFFSETS)
        formatText(digits, sizeof digits, "%08lx", (unsigned long)(uint32_t)rowOffset);
    else
        formatText(digits, sizeof digits, "%10lu", (unsigned long)(uint32_t)rowOffset);
    memcpy(line, digits, l.offsetChars);

    int64_t present = (int64_t)fileSize - rowOffset;
    if (present > ROW_BYTES) present = ROW_BYTES;
    int32_t unitBytes = unitBytesOf(viewFormat);
    char unit[UNIT_TEXT_MAX + 1];
    for (int32_t c = 0; c < present; ++c) {
        if (c % unitBytes == 0) {
            int32_t o = rowOffset + c;
            formatUnit(unit, sizeof unit, rowBytes + c, missingBytes(o, fileSize), viewFormat);
            memcpy(line + unitColumn(l, c / unitBytes), unit, l.unitChars);
        }
        line[textColumn(l, swapPosition(c, viewFormat))] = textCharOf(rowBytes[c]);
    }
    return l.rowChars;
}

bool highlightSpan(int32_t rowStart, int32_t selStart, int32_t selLength, int32_t *firstColumn,
                   int32_t *lastColumn)
{
    int64_t rowEnd = (int64_t)rowStart + ROW_BYTES;
    int64_t selEnd = (int64_t)selStart + selLength;
    if (selLength <= 0 || selEnd <= rowStart || selStart >= rowEnd) return false;
    int64_t first = (int64_t)selStart - rowStart;
    int64_t last = selEnd - 1 - rowStart;
    *firstColumn = (int32_t)(first < 0 ? 0 : first);
    *lastColumn = (int32_t)(last > ROW_BYTES - 1 ? ROW_BYTES - 1 : last);
    return true;
}

namespace {

bool byteHighlighted(int64_t offset, int32_t selStart, int32_t selLength, bool skipSecond,
                     bool skipPenultimate)
{
    int64_t rel = offset - selStart;
    if (rel < 0 || rel >= selLength) return false;
    if (skipSecond && rel == 1) return false;
    if (skipPenultimate && rel == (int64_t)selLength - 2) return false;
    return true;
}

void addRun(ColumnRun *runs, int32_t maxRuns, int32_t *count, int32_t first, int32_t n)
{
    if (*count >= maxRuns) return;
    runs[*count].first = first;
    runs[*count].count = n;
    ++*count;
}

}  // namespace

int32_t highlightRuns(ColumnRun *runs, int32_t maxRuns, uint8_t viewFormat, int32_t rowStart,
                      int32_t selStart, int32_t selLength, bool skipSecond,
                      bool skipPenultimate)
{
    int32_t first, last;
    if (!highlightSpan(rowStart, selStart, selLength, &first, &last)) return 0;
    RowLayout l = rowLayoutOf(viewFormat);
    int32_t unitBytes = unitBytesOf(viewFormat);
    int32_t count = 0;

    if (unitBytes == 1) {
        for (int32_t c = first; c <= last; ++c) {
            if (!byteHighlighted((int64_t)rowStart + c, selStart, selLength, skipSecond,
                                 skipPenultimate))
                continue;
            if (selLength == 1) addRun(runs, maxRuns, &count, unitColumn(l, c), l.unitChars);
            else addRun(runs, maxRuns, &count, unitColumn(l, c) - 1, l.unitChars + 1);
        }
    } else {
        int32_t f = first / unitBytes, u = last / unitBytes;
        addRun(runs, maxRuns, &count, unitColumn(l, f), (u - f) * (l.unitChars + 1) + l.unitChars);
    }

    for (int32_t p = 0; p < ROW_BYTES; ++p) {
        int32_t c = swapPosition(p, viewFormat);
        if (byteHighlighted((int64_t)rowStart + c, selStart, selLength, skipSecond, skipPenultimate))
            addRun(runs, maxRuns, &count, textColumn(l, p), 1);
    }
    return count;
}

int32_t caretColumn(uint8_t viewFormat, uint8_t editMode, int32_t c, uint8_t caretNibble)
{
    RowLayout l = rowLayoutOf(viewFormat);
    if (editMode == MODE_TEXT) return textColumn(l, swapPosition(c, viewFormat));
    int32_t unitBytes = unitBytesOf(viewFormat);
    if (unitBytes == 1 && (viewFormat & VF_HEX_VALUES)) return unitColumn(l, c) + caretNibble;
    return unitColumn(l, c / unitBytes) + l.unitChars - 1;
}

ColumnRun caretCell(uint8_t viewFormat, uint8_t editMode, int32_t c)
{
    RowLayout l = rowLayoutOf(viewFormat);
    ColumnRun cell;
    if (editMode == MODE_TEXT) {
        cell.first = textColumn(l, swapPosition(c, viewFormat));
        cell.count = 1;
    } else {
        cell.first = unitColumn(l, c / unitBytesOf(viewFormat));
        cell.count = l.unitChars;
    }
    return cell;
}
