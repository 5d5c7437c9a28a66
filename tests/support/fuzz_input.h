// For the fuzz targets: the fuzzer's input read as the values of a case.
#ifndef QUILLON_FUZZ_INPUT_H
#define QUILLON_FUZZ_INPUT_H

#include <stdint.h>
#include <stddef.h>
#include <string.h>

// The next four bytes as a number, fewer (the rest 0) at the end of the input.
inline int32_t take32(const uint8_t *&data, size_t &size)
{
    int32_t v = 0;
    size_t n = size < 4 ? size : 4;
    memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}

#endif
