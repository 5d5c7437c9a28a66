// The open file and its PageBuffer: opening, loading a window of the file,
// offering and writing the changes back in place.
#ifndef QUILLON_DOCUMENT_H
#define QUILLON_DOCUMENT_H

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// Why a name was not opened; each reason has a message of its own.
enum OpenRefusal {
    OPEN_OK,
    OPEN_ERROR,             // missing, refused by the system, or no disk file
    OPEN_PATH_TOO_LONG,     // longer than the file functions take
    OPEN_NAME_UNUSABLE,     // no spelling in the code page reaches the file
    OPEN_TOO_LARGE          // 2 GiB or more
};

void openFile(const char *path);
void openRecentFile(int index);
void closeFile();
void loadPage(int32_t offset);
void flushPage();
bool pageHolds(int32_t first, int32_t last);
void reportOpenRefusal(OpenRefusal refusal);

// Names in Unicode, on the NT family. The process's argument string in
// Unicode there, else NULL (Windows 95 keeps names in its code page only).
const wchar_t *unicodeArguments();
// The long name of path, for showing, where the code page spells the file
// only by its short name: true with it in dest. False, dest empty, where
// path is shown as it is: on Windows 95, where the system gives no long
// name (GetLongPathNameW came with Windows 98 and 2000), or where the code
// page spells the long name.
bool longNameOf(const char *path, wchar_t *dest, size_t destChars);
// The name under which the ANSI file functions reach the file named in
// Unicode: its own spelling in the code page or else its short name. When
// neither reaches it, the user is told why and false is returned.
bool ansiNameOf(const wchar_t *name, char *dest, size_t destSize);

#endif
