// The installer's computations that need no window: the typed directory
// reduced to a path below the drive's root, the destination and file paths,
// and the Program Manager command strings. Every output is bounded by the
// size given with it; a text that does not fit is refused, never cut.
#ifndef SETUP_PATHS_H
#define SETUP_PATHS_H

#include <stddef.h>
#include <stdint.h>

enum {
    SETUP_PATH_CHARS = 256,     // destDir, savedDir, pathBuffer, command blocks
    SETUP_FILE_COUNT = 3,       // .exe, .hlp, .txt
    SETUP_GROUP_COMMANDS = 5    // create group, show group, three items
};

enum { SETUP_FILE_PROGRAM, SETUP_FILE_HELP, SETUP_FILE_TEXT };

// Whether a byte starts a character of two bytes in the code page
// (Japanese, Chinese and Korean Windows). The second byte can be that of a
// backslash and is no separator then. NULL: a code page of single bytes.
typedef bool (*LeadByteTest)(unsigned char byte);

// ".exe", ".hlp", ".txt" for k = 0, 1, 2; "" otherwise.
const char *programExtension(int32_t k);

// The directory as typed, reduced in place: every "/" taken for a
// backslash, as Windows takes it, then one trailing backslash removed, a
// typed drive ("d:") dropped, then one leading backslash dropped.
void reduceTypedDirectory(char *dir, LeadByteTest isLead = NULL);

// The drive root from the text of a drive list item ("[-c-]" gives "c:\"):
// its first alphabetic character followed by ":\". False when the text has
// no letter or the root does not fit.
bool driveRootFromItem(const char *itemText, char *root, size_t rootSize);

// True when the drive list item names the drive letter (in either case).
bool itemNamesDrive(const char *itemText, char letter);

// The full destination directory: dir with a trailing backslash, prefixed
// with driveRoot unless dir already names a drive; an empty dir is the
// root itself. False if it does not fit.
bool composeDestination(const char *driveRoot, const char *dir, char *out, size_t outSize,
                        LeadByteTest isLead = NULL);

// dir + baseName + extension of file k. False if it does not fit.
bool composeFilePath(const char *dir, const char *baseName, int32_t k, char *out, size_t outSize);

// The title of the item for file k: "<title>95", "<title>95.hlp",
// "<title>95.txt". False if k is out of range or the title does not fit.
bool formatItemTitle(int32_t k, const char *title, char *out, size_t outSize);

// Program Manager command k (0 to 4) for the group "<title> 95" and the
// items dir + baseName + extension with their titles. Without WinHelp
// (Windows Vista and later) the help item shows the text file, which
// carries the help as text; its title stays the help's. False if k is out
// of range or the command does not fit.
bool formatGroupCommand(int32_t k, const char *title, const char *dir, const char *baseName, bool winHelp,
                        char *out, size_t outSize);

// The confirmation asked before a missing destination is created; it needs
// SETUP_QUESTION_CHARS for any directory that destinationFits accepts.
enum { SETUP_QUESTION_CHARS = SETUP_PATH_CHARS + 64 };
bool formatCreateQuestion(const char *driveRoot, const char *dir, char *out, size_t outSize);

// True when every text composed from the reduced directory fits its
// SETUP_PATH_CHARS buffer: the full destination, the three file paths and
// the five commands.
bool destinationFits(const char *driveRoot, const char *dir, const char *title, const char *baseName,
                     LeadByteTest isLead = NULL);

// The next component of a relative or absolute path, starting at *pos
// (separators are skipped). False when none is left or the component does
// not fit; *pos then stands past it.
bool nextPathComponent(const char *path, size_t *pos, char *component, size_t componentSize,
                       LeadByteTest isLead = NULL);

#endif
