#include "document/filenames.h"

bool isDeviceNamespace(const char *path)
{
    auto slash = [](char c) { return c == '\\' || c == '/'; };
    if (!slash(path[0]) || !path[1] || !path[2] || !slash(path[3])) return false;
    bool win32Form = slash(path[1]) && (path[2] == '.' || path[2] == '?');
    bool systemForm = path[1] == '?' && path[2] == '?';
    return win32Form || systemForm;
}

UnicodeNameUse unicodeNameUse(bool nameSpelled, bool shortNameSpelled, bool fileExists)
{
    if (nameSpelled) return USE_ANSI_NAME;
    // Never the inexact spelling: it may name another file, which the user
    // would then edit.
    if (shortNameSpelled) return USE_SHORT_NAME;
    return fileExists ? NAME_UNUSABLE : NAME_MISSING;
}
