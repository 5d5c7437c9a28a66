// A row of the hex view from any bytes, offset, file size and format, into
// line buffers of any size; the highlight runs stay inside the row.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "hexview/rowtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 14) return 0;
    uint8_t format = data[0];
    int32_t rowOffset, fileSize, selStart, selLength;
    memcpy(&rowOffset, data + 1, 4);
    fileSize = (int32_t)(((uint32_t)data[5] << 24 | (uint32_t)data[6] << 16) & 0x7FFFFFFF);
    fileSize |= data[7];
    memcpy(&selStart, data + 8, 4);
    selLength = (int32_t)(data[12] | data[13] << 8);
    size_t lineSize = (size_t)(data[13] & 0x7F);        // 0 .. 127
    data += 14;
    size -= 14;

    rowOffset &= 0x7FFFFFF0;
    if (rowOffset >= fileSize) return 0;
    size_t present = (size_t)(fileSize - rowOffset) < 16 ? (size_t)(fileSize - rowOffset) : 16;
    if (size < present) return 0;
    unsigned char *bytes = (unsigned char *)malloc(present);   // exact, so over-reads are seen
    memcpy(bytes, data, present);
    char *line = (char *)malloc(lineSize ? lineSize : 1);

    RowLayout l = rowLayoutOf(format);
    int32_t n = composeRow(line, lineSize, bytes, rowOffset, fileSize, format);
    if (n != 0 && (n != l.rowChars || strlen(line) != (size_t)n)) abort();
    if (n == 0 && lineSize > (size_t)l.rowChars) abort();

    char unit[UNIT_TEXT_MAX + 1];
    int32_t u = formatUnit(unit, sizeof unit, bytes, missingBytes(rowOffset, fileSize), format);
    if (u != l.unitChars || strlen(unit) != (size_t)u) abort();

    ColumnRun runs[MAX_HIGHLIGHT_RUNS];
    int32_t k = highlightRuns(runs, MAX_HIGHLIGHT_RUNS, format, rowOffset, selStart, selLength,
                              data[0] & 1, data[0] & 2);
    for (int32_t i = 0; i < k; ++i)
        if (runs[i].first < l.offsetChars || runs[i].count < 1 ||
            runs[i].first + runs[i].count > l.rowChars)
            abort();

    free(line);
    free(bytes);
    return 0;
}
