// Texts of the main window's title and of the status bar's offset part,
// and the view's position in percent. No window is needed here.
#ifndef QUILLON_TITLE_TEXT_H
#define QUILLON_TITLE_TEXT_H

#include <stddef.h>
#include <stdint.h>

enum { TITLE_CHARS = 255 };     // characters of the title, without the zero

// The name after the last backslash of path, or the whole path.
template <typename Char>
const Char *fileTitleOf(const Char *path)
{
    const Char *name = path;
    for (const Char *c = path; *c; ++c)
        if (*c == '\\') name = c + 1;
    return name;
}

// The title with the name of path (what follows its folder) in place of
// the nameLength characters at nameStart, cut so that the rest of the title
// still shows; dest holds TITLE_CHARS + 1 characters. For the ANSI title
// and, on the NT family, the long name in Unicode. Returns the name's
// length in the title.
template <typename Char>
size_t placeName(Char *dest, const char *title, size_t nameStart, size_t nameLength, const Char *path)
{
    size_t length = 0;
    while (title[length]) ++length;
    size_t room = TITLE_CHARS - (length - nameLength);
    const Char *name = fileTitleOf(path);
    size_t at = 0, shown = 0;
    for (size_t i = 0; i < nameStart; ++i) dest[at++] = (unsigned char)title[i];
    for (; name[shown] && shown < room; ++shown) dest[at++] = name[shown];
    for (size_t i = nameStart + nameLength; i < length; ++i) dest[at++] = (unsigned char)title[i];
    dest[at] = 0;
    return shown;
}

// The decimal digits of size with a comma after every digit that is
// followed by a positive multiple of three digits. Returns the length.
int32_t groupDigits(char *destination, size_t destinationSize, int32_t size);

// The title for a file (empty path: no file): "Quillon 95   NAME (SIZE
// bytes) PP %". A name too long for the title is cut so that the size and
// the percent still show. destination holds destinationSize bytes (the
// text is cut to TITLE_CHARS characters in any case). Returns the length.
// nameStart and nameLength, when given, tell where the name stands in the
// title (0 and 0 without a file), for a longer name put in its place.
int32_t composeTitle(char *destination, size_t destinationSize, const char *path,
                     int32_t fileSize, int32_t percent, size_t *nameStart = NULL,
                     size_t *nameLength = NULL);

// Position of the view in percent: offset / (fileSize / 100) above
// 20,000,000 bytes, else offset * 100 / fileSize; previous for an empty file.
int32_t percentOfOffset(int32_t offset, int32_t fileSize, int32_t previous);

// Status bar part 1: "Offset: %lx (HEX)" or "Offset: %li (DEC)", or "" when
// nothing is highlighted.
void offsetStatusText(char *destination, size_t destinationSize, int32_t selStart,
                      int32_t selLength, bool hexOffsets);

#endif
