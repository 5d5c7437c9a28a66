// The open file and its PageBuffer. The file is never loaded whole: one
// window of PAGE_SIZE bytes follows the view, and changes reach the file only
// in flushPage, after the user agreed.
#include "document/document.h"

#include <string.h>

#include "document/editor_state.h"
#include "document/filenames.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "shell/settings.h"
#include "shell/statusbar.h"
#include "shell/title.h"

namespace {

const char readOnlyMark[] = "READ ONLY";    // in headerLine's mark field

// Every open of the edited file by name is a compatibility-mode _lopen, the
// mode of the editor's own handle. Windows 95 keeps the DOS sharing rules:
// while a process holds a compatibility-mode handle, it may open the file
// again in that mode only, and every other mode (any CreateFile, whatever
// its share flags) is refused. NT takes the mode as shared reading and
// writing, so the same opens work there too.
HFILE openByName(const char *path, int access)
{
    return _lopen(path, access | OF_SHARE_COMPAT);
}

void closeHandle()
{
    if (ed.fileHandle >= 0) _lclose((HFILE)ed.fileHandle);
    ed.fileHandle = -1;
}

// The size of the open file, or -1 when it cannot be told or does not fit a
// signed 32-bit offset (2 GiB or more).
int32_t sizeOfOpenFile()
{
    DWORD high = 0;
    DWORD low = GetFileSize((HANDLE)(INT_PTR)ed.fileHandle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        LONG end = _llseek((HFILE)ed.fileHandle, 0, 2);
        return end < 0 ? 0 : end;
    }
    if (high != 0 || low > 0x7FFFFFFFul) return -1;
    return (int32_t)low;
}

void messageBox(const char *text, const char *caption, UINT style)
{
    MessageBoxA(ed.mainWnd, text, caption, style);
}

// The open file's full path, taken when it was opened, so the checks
// below find it whatever the current directory has become since.
char openedPath[NAME_CHARS];

// Takes the full path of a name into openedPath before anything is opened.
// The file functions take no longer path, and the recent files keep the
// full path to open the file again: a relative name that grows past the
// limit is refused rather than opened once and never again.
OpenRefusal checkPath(const char *path)
{
    if (strlen(path) >= NAME_CHARS) return OPEN_PATH_TOO_LONG;
    DWORD n = GetFullPathNameA(path, sizeof openedPath, openedPath, NULL);
    // A full path past the limit is told by the size it would need, or by
    // this error, where the system builds it in a buffer of the limit.
    if (n >= sizeof openedPath || (n == 0 && GetLastError() == ERROR_FILENAME_EXCED_RANGE))
        return OPEN_PATH_TOO_LONG;
    if (n == 0 || isDeviceNamespace(path) || isDeviceNamespace(openedPath)) return OPEN_ERROR;
    return OPEN_OK;
}

// Another program may delete, replace or rename the file while it is open
// (Wine lets it): what is written then reaches a file that no longer has
// the name, or none. The name must still exist before a save ...
bool fileStillNamed()
{
    return GetFileAttributesA(openedPath) != INVALID_FILE_ATTRIBUTES;
}

// ... and after it the file under the name must hold the bytes written.
bool nameHolds(int32_t offset, const unsigned char *bytes, UINT length)
{
    HFILE file = openByName(openedPath, OF_READ);
    if (file == HFILE_ERROR) return false;
    bool same = _llseek(file, offset, 0) == offset;
    unsigned char chunk[512];
    for (UINT done = 0; same && done < length; done += sizeof chunk) {
        UINT want = length - done < sizeof chunk ? length - done : sizeof chunk;
        same = _lread(file, chunk, want) == want && memcmp(chunk, bytes + done, want) == 0;
    }
    _lclose(file);
    return same;
}

// The window as it was read from the file, to tell the user's changes from
// the rest, and the bytes on disk under a stretch about to be written.
unsigned char loadedBytes[PAGE_SIZE];
unsigned char diskBytes[PAGE_SIZE];

// Writes back the stretch of the first count bytes of the window from the
// first byte the user changed to the last. Bytes outside it are not written
// again, so they need no room on a full disk and another program's changes
// to them are kept. A write that stops short (a full disk) or does not
// reach the file under its name is undone with the bytes that were there,
// so a save reported as failed leaves the file as it was.
bool writeWindow(int32_t count)
{
    int32_t first = 0, last = count - 1;
    while (first < count && ed.pageBuffer[first] == loadedBytes[first]) ++first;
    if (first == count) return true;
    while (ed.pageBuffer[last] == loadedBytes[last]) --last;
    UINT length = (UINT)(last - first + 1);
    if (!fileStillNamed()) return false;

    HFILE file = (HFILE)ed.fileHandle;
    int32_t at = ed.pageBase + first;
    if (_llseek(file, at, 0) < 0 || _lread(file, diskBytes, length) != length) return false;
    if (_llseek(file, at, 0) < 0) return false;
    UINT written = _lwrite(file, (LPCCH)ed.pageBuffer + first, length);
    if (written == length && nameHolds(at, ed.pageBuffer + first, length)) {
        memcpy(loadedBytes + first, ed.pageBuffer + first, length);
        return true;
    }
    UINT undo = written == (UINT)HFILE_ERROR ? length : written;
    if (undo > 0 && _llseek(file, at, 0) >= 0) _lwrite(file, (LPCCH)diskBytes, undo);
    return false;
}

// Bytes of the window that lie below the given end of the file.
int32_t windowBytesBelow(int32_t end)
{
    int32_t count = end - ed.pageBase;
    if (count < 0) return 0;
    return count > PAGE_SIZE ? PAGE_SIZE : count;
}

// Whether the user changed any byte of the window in [from, to).
bool changedFrom(int32_t from, int32_t to)
{
    for (int32_t i = from; i < to; ++i)
        if (ed.pageBuffer[i] != loadedBytes[i]) return true;
    return false;
}

}  // namespace

bool pageHolds(int32_t first, int32_t last)
{
    // Compared in 64 bits: pageBase + PAGE_SIZE may pass the 32-bit range
    // near the end of a 2 GiB file.
    int64_t base = ed.pageBase, end = base + PAGE_SIZE;
    return base <= first && first < end && base <= last && last < end;
}

void loadPage(int32_t offset)
{
    flushPage();
    if (ed.fileHandle >= 0 && _llseek((HFILE)ed.fileHandle, offset, 0) >= 0) {
        UINT got = _lread((HFILE)ed.fileHandle, ed.pageBuffer, PAGE_SIZE);
        if (got == (UINT)HFILE_ERROR) got = 0;
        // Bytes past what could be read are never shown or written; clear
        // them so a file cut short by another program shows no stale data.
        if (got < PAGE_SIZE) memset(ed.pageBuffer + got, 0, PAGE_SIZE - got);
        memcpy(loadedBytes, ed.pageBuffer, PAGE_SIZE);
    }
    ed.pageBase = offset;
}

void flushPage()
{
    ed.flushing = 1;
    if (ed.pageDirty) {
        ed.pageDirty = 0;   // before the prompt, so nothing started under it asks again
        int answer = MessageBoxA(ed.mainWnd, "Do you want to save the changes?", "Confirmation",
                                 MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES) {
            // Only bytes that exist are overwritten. If another program cut
            // the file short meanwhile and a change lies past its new end,
            // the change cannot be saved: nothing is written and the user
            // is told, rather than the file being lengthened again.
            int32_t size = sizeOfOpenFile();
            if (size < 0 || size > ed.fileSize) size = ed.fileSize;
            int32_t count = windowBytesBelow(size);
            bool failed = changedFrom(count, windowBytesBelow(ed.fileSize)) ||
                          (count > 0 && !writeWindow(count));
            if (failed) {
                messageBox("Write error", "Error", MB_OK | MB_ICONSTOP);
                loadPage(ed.pageBase);
            }
        } else {
            loadPage(ed.pageBase);      // the window is re-read, so the changes are dropped
        }
    }
    ed.flushing = 0;
    invalidateView();
}

void openFile(const char *path)
{
    ed.fileJustOpened = 1;

    ed.editMode = MODE_VIEW;
    dropCaret();
    showModeBitmap();

    clearHighlight();
    showOffsetInStatus();

    if (ed.fileHandle >= 0) {
        flushPage();
        closeHandle();
    }

    size_t length = strlen(path);
    OpenRefusal refusal = length > 0 ? checkPath(path) : OPEN_OK;
    if (refusal == OPEN_OK) memcpy(ed.fileName, path, length + 1);
    ed.fileSize = 0;

    if (refusal == OPEN_OK && length > 0) {
        // A file that is missing or marked read-only is opened for reading.
        DWORD attributes = GetFileAttributesA(path);
        ed.readOnly = attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY);
        if (!ed.readOnly) {
            ed.fileHandle = openByName(path, OF_READWRITE);
            if (ed.fileHandle < 0) ed.readOnly = 1;
        }
        if (ed.readOnly) ed.fileHandle = openByName(path, OF_READ);
        if (ed.fileHandle < 0) refusal = OPEN_ERROR;
        // A device or a pipe opens as an empty document (or waits for data);
        // only a disk file is edited. Windows 95 tells the type too.
        else if (GetFileType((HANDLE)(INT_PTR)ed.fileHandle) != FILE_TYPE_DISK) refusal = OPEN_ERROR;
        // Offsets are signed 32-bit: a file of 2 GiB or more is not opened,
        // so it is never shown with a wrong size or written.
        else if (sizeOfOpenFile() < 0) refusal = OPEN_TOO_LARGE;
    }
    if (refusal != OPEN_OK) closeHandle();
    if (ed.fileHandle < 0) {
        ed.readOnly = 0;
        ed.fileName[0] = '\0';
    }
    if (!ed.fileName[0] || !longNameOf(ed.fileName, ed.longFileName, NAME_CHARS)) ed.longFileName[0] = L'\0';

    memset(ed.headerLine + HEADER_MARK_AT, ' ', HEADER_MARK_CHARS);
    if (ed.readOnly) memcpy(ed.headerLine + HEADER_MARK_AT, readOnlyMark, sizeof readOnlyMark - 1);

    if (ed.fileHandle >= 0) ed.fileSize = sizeOfOpenFile();

    ed.topOffset = 0;
    loadPage(0);
    ed.topRow = 0;
    ed.percent = 0;
    if (ed.fileSize < 0) ed.fileSize = 0;

    updateScrollRanges();

    reportOpenRefusal(refusal);

    setStatusText("", 0, 0);
    invalidateView();

    // The list holds the full path, so an entry opens the same file
    // whatever the current directory is later.
    if (ed.fileName[0]) addRecentFile(openedPath);
    updateTitle();
}

void reportOpenRefusal(OpenRefusal refusal)
{
    static const char *const texts[] = {
        NULL,
        "Error opening file",
        "Error: The path is too long (more than 259 characters)",
        "Error: The file's name holds characters that this program cannot use.\n"
        "Rename the file, then open it again.",
        "Error: The file is too large (2 GB or more)",
    };
    if (refusal > OPEN_OK && refusal < (int)(sizeof texts / sizeof texts[0]))
        messageBox(texts[refusal], "Error", MB_OK | MB_ICONSTOP);
}

void openRecentFile(int index)
{
    if (index < 0 || index >= RECENT_COUNT) return;
    // openFile adds the path to the list, which moves the entries: work on a copy.
    char path[RECENT_CHARS];
    memcpy(path, ed.recentFiles[index], sizeof path);
    path[sizeof path - 1] = '\0';
    openFile(path);
}

void closeFile()
{
    flushPage();
    closeHandle();
}
