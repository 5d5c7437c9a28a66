// The open file and its PageBuffer: opening, loading a window of the file,
// offering and writing the changes back in place.
#ifndef QUILLON_DOCUMENT_H
#define QUILLON_DOCUMENT_H

#include <stdint.h>

void openFile(const char *path);
void openRecentFile(int index);
void closeFile();
void loadPage(int32_t offset);
void flushPage();
bool pageHolds(int32_t first, int32_t last);

#endif
