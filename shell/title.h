// The main window's title: the file's name, its size and the view's
// position in percent.
#ifndef QUILLON_TITLE_H
#define QUILLON_TITLE_H

#include <stdint.h>

// Sets the title from the open file and the view's percent.
void updateTitle();
// The view's position in percent when its first shown byte is at offset.
int32_t percentOf(int32_t offset);

#endif
