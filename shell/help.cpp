// The Help command. Windows 95 to XP show the help file with WinHelp.
// Windows Vista and later have no WinHelp viewer (their winhlp32 only says
// that the format is not supported): there the help is the text file
// quillon95.txt, which carries the help's topics after the user's guide,
// shown in Notepad.
#include <windows.h>
#include <string.h>

#include "document/editor_state.h"
#include "runtime/format.h"
#include "shell/shell.h"
#include "shell/title_text.h"

namespace {

const char helpTextName[] = "quillon95.txt";
const char notepadName[] = "notepad.exe";
const char textNotFound[] =
    "The help file quillon95.txt was not found.\n\n"
    "Run Setup again, or put quillon95.txt in the folder of quillon95.exe.";

bool isFile(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file name in the folder of path; false when it does not fit.
bool pathBeside(const char *path, const char *name, char *dest, size_t destSize)
{
    int folder = (int)(fileTitleOf(path) - path);
    return formatText(dest, destSize, "%.*s%s", folder, path, name) < (int)destSize;
}

// Where setup put the help (HDir), else beside the program.
bool findHelpText(char *path, size_t size)
{
    if (ed.helpDir[0] && pathBeside(ed.helpDir, helpTextName, path, size) && isFile(path)) return true;
    char program[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, program, sizeof program);
    return n > 0 && n < sizeof program && pathBeside(program, helpTextName, path, size) && isFile(path);
}

// Notepad of the system folder, else of the Windows folder; never by its
// bare name, which would also find a program of that name in the current
// folder, the last one a file was opened from.
bool findNotepad(char *path, UINT size)
{
    char folder[MAX_PATH];
    UINT n = GetSystemDirectoryA(folder, sizeof folder);
    if (n > 0 && n < sizeof folder && formatText(path, size, "%s\\%s", folder, notepadName) < (int)size &&
        isFile(path))
        return true;
    n = GetWindowsDirectoryA(folder, sizeof folder);
    return n > 0 && n < sizeof folder && formatText(path, size, "%s\\%s", folder, notepadName) < (int)size &&
           isFile(path);
}

bool startNotepad(const char *textPath)
{
    char notepad[MAX_PATH];
    char commandLine[2 * MAX_PATH + 8];
    if (!findNotepad(notepad, sizeof notepad)) return false;
    if (formatText(commandLine, sizeof commandLine, "\"%s\" \"%s\"", notepad, textPath) >= (int)sizeof commandLine)
        return false;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(notepad, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void showHelpText()
{
    char path[MAX_PATH];
    if (!findHelpText(path, sizeof path)) {
        MessageBoxA(ed.mainWnd, textNotFound, appCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!startNotepad(path)) {
        char message[MAX_PATH + 64];
        formatText(message, sizeof message, "Notepad could not be started to show the help file\n%s", path);
        MessageBoxA(ed.mainWnd, message, appCaption, MB_OK | MB_ICONEXCLAMATION);
    }
}

// The help file where setup put it, else by its bare name, which leaves
// the search to the help engine.
void showHelpFile()
{
    WinHelpA(ed.mainWnd, ed.helpDir[0] && isFile(ed.helpDir) ? ed.helpDir : helpFileName, HELP_CONTENTS, 0);
    ed.helpOpened = 1;
}

}  // namespace

void showHelp()
{
    if (ed.winHelp)
        showHelpFile();
    else
        showHelpText();
}
