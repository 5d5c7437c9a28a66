// Names in Unicode on the NT family. The system keeps the command line and
// the Open dialog's names in Unicode there, and the ANSI functions the
// editor opens files with see them through the code page. The Unicode
// functions are taken from the system with GetProcAddress, on NT only:
// Windows 95 lacks most of them.
#include <windows.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "document/filenames.h"
#include "runtime/progname.h"
#include "runtime/text.h"
#include "shell/platform.h"

namespace {

typedef LPWSTR(WINAPI *CommandLineFunction)();
typedef DWORD(WINAPI *ShortPathFunction)(LPCWSTR, LPWSTR, DWORD);
typedef DWORD(WINAPI *LongPathFunction)(LPCWSTR, LPWSTR, DWORD);
typedef DWORD(WINAPI *AttributesFunction)(LPCWSTR);

FARPROC kernelFunction(const char *name) { return unicodeFunction("KERNEL32", name); }

// The name in the code page, kept only when it is the name itself: a
// character the code page lacks becomes its default character or a
// look-alike ("best fit"), so the text is converted back and compared.
// The flag for a default character is not asked for: where UTF-8 is the
// code page (a choice of Windows 10 and later), asking fails every call.
bool spelledExactly(const wchar_t *name, char *dest, size_t destSize)
{
    if (WideCharToMultiByte(CP_ACP, 0, name, -1, dest, (int)destSize, NULL, NULL) <= 0) return false;
    wchar_t back[NAME_CHARS];
    int length = MultiByteToWideChar(CP_ACP, 0, dest, -1, back, NAME_CHARS);
    if (length <= 0) return false;
    for (int i = 0; i < length; ++i)
        if (back[i] != name[i]) return false;
    return true;
}

}  // namespace

bool longNameOf(const char *path, wchar_t *dest, size_t destChars)
{
    if (destChars) dest[0] = L'\0';
    // The short name the system makes for a name outside the code page
    // holds a "~"; other paths are not looked up, so that a recent file on
    // a drive without its disk or an unreachable share costs nothing.
    LongPathFunction longPathOf = (LongPathFunction)(void *)kernelFunction("GetLongPathNameW");
    wchar_t wide[NAME_CHARS];
    if (!longPathOf || destChars == 0 || !lastCharOf(path, '~') ||
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, NAME_CHARS) <= 0)
        return false;
    // A missing disk fails the lookup instead of asking for the disk.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD length = longPathOf(wide, dest, (DWORD)destChars);
    SetErrorMode(oldMode);
    char spelled[NAME_CHARS];
    if (length > 0 && length < destChars && !spelledExactly(dest, spelled, sizeof spelled)) return true;
    dest[0] = L'\0';
    return false;
}

const wchar_t *unicodeArguments()
{
    if (!onNtFamily()) return NULL;
    CommandLineFunction commandLine = (CommandLineFunction)(void *)kernelFunction("GetCommandLineW");
    const wchar_t *line = commandLine ? commandLine() : NULL;
    return line ? skipProgramName(line) : NULL;
}

bool ansiNameOf(const wchar_t *name, char *dest, size_t destSize)
{
    ShortPathFunction shortPathOf = (ShortPathFunction)(void *)kernelFunction("GetShortPathNameW");
    AttributesFunction attributesOf = (AttributesFunction)(void *)kernelFunction("GetFileAttributesW");

    bool nameSpelled = spelledExactly(name, dest, destSize);
    bool shortSpelled = false;
    if (!nameSpelled && shortPathOf) {
        wchar_t shortName[NAME_CHARS];
        DWORD length = shortPathOf(name, shortName, NAME_CHARS);
        shortSpelled = length > 0 && length < NAME_CHARS && spelledExactly(shortName, dest, destSize);
    }
    bool exists = !nameSpelled && !shortSpelled && attributesOf &&
                  attributesOf(name) != INVALID_FILE_ATTRIBUTES;

    switch (unicodeNameUse(nameSpelled, shortSpelled, exists)) {
    case USE_ANSI_NAME:
    case USE_SHORT_NAME:
        return true;
    case NAME_MISSING:
        reportOpenRefusal(OPEN_ERROR);
        break;
    case NAME_UNUSABLE:
        reportOpenRefusal(OPEN_NAME_UNUSABLE);
        break;
    }
    if (destSize) dest[0] = '\0';
    return false;
}
