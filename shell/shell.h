// The editor's entry, window classes, main window and message loop.
#ifndef QUILLON_SHELL_H
#define QUILLON_SHELL_H

#include <windows.h>

BOOL registerMainClass(HINSTANCE instance);
BOOL registerViewClass(HINSTANCE instance);
// The editor's start state, its windows, and the file of the command line;
// FALSE when a window or the view's class cannot be made. unicodeArgs: the
// same argument string in Unicode, read in its place when given (the NT
// family).
BOOL initInstance(HINSTANCE instance, const char *args, int showCommand,
                  const wchar_t *unicodeArgs = NULL);
int runMessageLoop();

// Allocates the three long-lived blocks (helpDir, openDir, pageBuffer, in
// that order); false when the page buffer cannot be had.
bool allocateBlocks();
void freeBlocks();

LRESULT CALLBACK mainWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The Open command: the Open dialog, then openFile.
void runOpenDialog();
// The Help command: WinHelp where the system has it (ed.winHelp), else the
// help as text in Notepad, or a message saying why it cannot be shown.
void showHelp();

#endif
