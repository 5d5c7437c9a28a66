// Names the editor is given, judged before a file function sees them.
// Needs no window, so it is tested natively as well.
#ifndef QUILLON_FILENAMES_H
#define QUILLON_FILENAMES_H

// True for a name in the device namespace of the NT family ("\\.\" or
// "\\?\", or the system's own "\??\", with either slash): disks, raw
// volumes, pipes and devices. Such a handle can even pass for a disk file,
// so the name is refused before any open.
bool isDeviceNamespace(const char *path);

// On the NT family a name arrives in Unicode, and the ANSI file functions
// see it through the code page, where a character it lacks becomes "?" or
// a look-alike: a name that does not exist, or another file's.
enum UnicodeNameUse {
    USE_ANSI_NAME,      // the code page spells the name exactly
    USE_SHORT_NAME,     // it does not, but the file's short (8.3) name is spelled exactly
    NAME_MISSING,       // no spelling and no such file: the usual error
    NAME_UNUSABLE       // the file exists and no spelling reaches it: the user is told to rename it
};
UnicodeNameUse unicodeNameUse(bool nameSpelled, bool shortNameSpelled, bool fileExists);

#endif
