// Linked into both programs so that they run on Windows 95.
//
// The mingw C library finds the C run-time's code page through
// GetModuleHandleW, which Windows 95 does not provide; when that call
// fails it reads the code page from the locale name instead. This is that
// fallback alone, and it keeps GetModuleHandleW out of the import table.
#include <locale.h>
#include <stdlib.h>
#include <string.h>

#pragma GCC diagnostic ignored "-Wattributes"  // locale.h declares it imported

extern "C" {

unsigned int __cdecl ___lc_codepage_func(void)
{
    const char *dot = strchr(setlocale(LC_CTYPE, NULL), '.');
    return dot ? (unsigned int)atoi(dot + 1) : 0;
}

unsigned int(__cdecl *__MINGW_IMP_SYMBOL(___lc_codepage_func))(void) = ___lc_codepage_func;
}
