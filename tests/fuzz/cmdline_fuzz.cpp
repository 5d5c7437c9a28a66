// The command line: any argument string, into buffers of any size.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "document/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) return 0;
    size_t pathSize = data[0] + 1;          // 1 .. 256
    char *args = (char *)malloc(size);
    memcpy(args, data + 1, size - 1);
    args[size - 1] = '\0';
    char *path = (char *)malloc(pathSize);  // exact size, so the sanitizer sees any overrun

    const char *rest = skipProgramName(args);
    if (rest < args || rest > args + strlen(args)) abort();
    CommandLineAction action = parseCommandLine(args, path, pathSize);
    if (action == CMDLINE_OPEN_PATH && strlen(path) >= pathSize) abort();
    if (action == CMDLINE_OPEN_PATH && strlen(path) > strlen(args)) abort();
    if (action == CMDLINE_OFFER_OPEN && args[0] != '\0') abort();

    free(path);
    free(args);
    return 0;
}
