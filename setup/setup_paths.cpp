#include "setup/setup_paths.h"

#include <string.h>

#include "runtime/format.h"
#include "runtime/text.h"

namespace {

const char *const extensions[SETUP_FILE_COUNT] = {".exe", ".hlp", ".txt"};
const char *const itemSuffixes[SETUP_FILE_COUNT] = {"", ".hlp", ".txt"};
const char quote = '"';

// The formatter's result: whether the whole text fitted.
bool fits(int written, size_t size)
{
    return written >= 0 && (size_t)written < size;
}

// Bytes of the character at text: 2 for a lead byte and the byte after it.
size_t charBytes(const char *text, LeadByteTest isLead)
{
    return isLead && isLead((unsigned char)text[0]) && text[1] ? 2 : 1;
}

// True when the last character of the n bytes of text is a backslash.
bool endsWithBackslash(const char *text, size_t n, LeadByteTest isLead)
{
    size_t last = 0;
    for (size_t i = 0; i < n; i += charBytes(text + i, isLead)) last = i;
    return n > 0 && last == n - 1 && text[last] == '\\';
}

}  // namespace

const char *programExtension(int32_t k)
{
    return k >= 0 && k < SETUP_FILE_COUNT ? extensions[k] : "";
}

void reduceTypedDirectory(char *dir, LeadByteTest isLead)
{
    // No byte of a double-byte character is a "/".
    for (char *c = dir; *c; ++c)
        if (*c == '/') *c = '\\';
    size_t n = strlen(dir);
    if (endsWithBackslash(dir, n, isLead)) dir[--n] = '\0';
    if (n >= 2 && dir[1] == ':') {
        memmove(dir, dir + 2, n - 1);   // the rest and its zero
        n -= 2;
    }
    if (dir[0] == '\\') memmove(dir, dir + 1, n);
}

bool driveRootFromItem(const char *itemText, char *root, size_t rootSize)
{
    const char *p = itemText;
    while (*p && !isLetter(*p)) ++p;
    if (!*p || rootSize < 4) return false;
    root[0] = *p;
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
    return true;
}

bool itemNamesDrive(const char *itemText, char letter)
{
    char root[4];
    return driveRootFromItem(itemText, root, sizeof root) &&
           lowerCase(root[0]) == lowerCase(letter);
}

bool composeDestination(const char *driveRoot, const char *dir, char *out, size_t outSize,
                        LeadByteTest isLead)
{
    size_t n = strlen(dir);
    if (n == 0) return fits(formatText(out, outSize, "%s", driveRoot), outSize);
    const char *slash = endsWithBackslash(dir, n, isLead) ? "" : "\\";
    const char *root = n >= 2 && dir[1] == ':' ? "" : driveRoot;
    return fits(formatText(out, outSize, "%s%s%s", root, dir, slash), outSize);
}

bool composeFilePath(const char *dir, const char *baseName, int32_t k, char *out, size_t outSize)
{
    if (k < 0 || k >= SETUP_FILE_COUNT) return false;
    return fits(formatText(out, outSize, "%s%s%s", dir, baseName, extensions[k]), outSize);
}

bool formatItemTitle(int32_t k, const char *title, char *out, size_t outSize)
{
    if (k < 0 || k >= SETUP_FILE_COUNT) return false;
    return fits(formatText(out, outSize, "%s95%s", title, itemSuffixes[k]), outSize);
}

bool formatGroupCommand(int32_t k, const char *title, const char *dir, const char *baseName, bool winHelp,
                        char *out, size_t outSize)
{
    if (k == 0) return fits(formatText(out, outSize, "[CreateGroup(%c%s 95%c)]", quote, title, quote), outSize);
    if (k == 1) return fits(formatText(out, outSize, "[ShowGroup(%c%s 95%c,1)]", quote, title, quote), outSize);
    if (k < 2 || k >= SETUP_GROUP_COMMANDS) return false;

    char path[SETUP_PATH_CHARS];
    char itemTitle[SETUP_PATH_CHARS];
    int32_t file = k - 2 == SETUP_FILE_HELP && !winHelp ? SETUP_FILE_TEXT : k - 2;
    if (!composeFilePath(dir, baseName, file, path, sizeof path)) return false;
    if (!formatItemTitle(k - 2, title, itemTitle, sizeof itemTitle)) return false;
    return fits(formatText(out, outSize, "[AddItem(%c%s%c,%s)]", quote, path, quote, itemTitle), outSize);
}

bool formatCreateQuestion(const char *driveRoot, const char *dir, char *out, size_t outSize)
{
    return fits(formatText(out, outSize, "Path %s%s does not exist.\nDo you want to create it?\n",
                           driveRoot, dir), outSize);
}

bool destinationFits(const char *driveRoot, const char *dir, const char *title, const char *baseName,
                     LeadByteTest isLead)
{
    char full[SETUP_PATH_CHARS];
    char text[SETUP_PATH_CHARS];
    if (!composeDestination(driveRoot, dir, full, sizeof full, isLead)) return false;
    for (int32_t k = 0; k < SETUP_FILE_COUNT; ++k)
        if (!composeFilePath(full, baseName, k, text, sizeof text)) return false;
    for (int32_t k = 0; k < SETUP_GROUP_COMMANDS; ++k)
        for (int winHelp = 0; winHelp <= 1; ++winHelp)
            if (!formatGroupCommand(k, title, full, baseName, winHelp != 0, text, sizeof text)) return false;
    return true;
}

bool nextPathComponent(const char *path, size_t *pos, char *component, size_t componentSize,
                       LeadByteTest isLead)
{
    size_t i = *pos;
    while (path[i] == '\\') ++i;
    size_t start = i;
    while (path[i] && path[i] != '\\') i += charBytes(path + i, isLead);
    *pos = i;
    size_t n = i - start;
    if (n == 0 || n >= componentSize) return false;
    memcpy(component, path + start, n);
    component[n] = '\0';
    return true;
}
