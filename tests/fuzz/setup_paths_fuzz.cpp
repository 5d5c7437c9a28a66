// The installer's paths: any typed directory and drive item, into buffers
// of exact size, so the sanitizer sees any write past them.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "setup/setup_paths.h"

namespace {

char *cString(const uint8_t *data, size_t size)
{
    char *s = (char *)malloc(size + 1);
    memcpy(s, data, size);
    s[size] = '\0';
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2) return 0;
    size_t outSize = data[0] + 1;
    size_t split = data[1] % (size - 1);
    char *item = cString(data + 2, split > size - 2 ? size - 2 : split);
    char *typed = cString(data + 2 + strlen(item), size - 2 - strlen(item));

    // The typed text goes through the reduction in a buffer of its own size.
    size_t typedLength = strlen(typed);
    reduceTypedDirectory(typed);
    if (strlen(typed) > typedLength) abort();

    char root[8];
    if (!driveRootFromItem(item, root, sizeof root)) strcpy(root, "c:\\");

    char *out = (char *)malloc(outSize);
    if (composeDestination(root, typed, out, outSize) && strlen(out) >= outSize) abort();
    for (int32_t k = -1; k <= 5; ++k) {
        if (composeFilePath(typed, "quillon95", k, out, outSize) && strlen(out) >= outSize) abort();
        if (formatItemTitle(k, typed, out, outSize) && strlen(out) >= outSize) abort();
        if (formatGroupCommand(k, "Quillon", typed, "quillon95", data[1] & 1, out, outSize) && strlen(out) >= outSize)
            abort();
    }
    if (formatCreateQuestion(root, typed, out, outSize) && strlen(out) >= outSize) abort();
    if (destinationFits(root, typed, "Quillon", "quillon95")) {
        char full[SETUP_PATH_CHARS];
        if (!composeDestination(root, typed, full, sizeof full)) abort();
        char question[SETUP_QUESTION_CHARS];
        if (!formatCreateQuestion(root, typed, question, sizeof question)) abort();
    }

    size_t pos = 0, steps = 0;
    char component[16];
    while (nextPathComponent(typed, &pos, component, sizeof component)) {
        if (strlen(component) >= sizeof component || ++steps > typedLength + 1) abort();
    }
    if (pos > strlen(typed)) abort();

    free(out);
    free(typed);
    free(item);
    return 0;
}
