// Support for the in-process tests under Wine: the real editor windows,
// message boxes and dialogs answered as they open, bounded waits, and
// temporary files.
#ifndef QUILLON_WINTEST_H
#define QUILLON_WINTEST_H

#include <windows.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

// A message box or dialog that opened while the hook was installed.
struct SeenBox {
    std::string caption;
    std::string text;       // the message text of a message box, else ""
    bool answered;          // an action was queued for it
};

// Installs the CBT hook for this thread (done by EditorSession).
void installBoxHook();
void removeBoxHook();

// The next dialog or message box that opens runs this action once it is up
// (from inside its own modal loop). Actions are used in order.
void onNextBox(std::function<void(HWND)> action);
// The next message box is answered with this button (IDYES, IDNO, IDOK...).
void answerNextBox(int buttonId);
// Everything that opened since the last clear; a box nobody answered is
// closed and recorded with answered = false.
std::vector<SeenBox> &seenBoxes();
void clearSeenBoxes();
int unansweredBoxes();
// The next dialog is the Open dialog: the path is typed into its file name
// field and Open pressed. A narrow path is taken as ASCII.
void chooseInOpenDialog(const std::wstring &path);
inline void chooseInOpenDialog(const std::string &path) { chooseInOpenDialog(std::wstring(path.begin(), path.end())); }

// Runs the messages waiting for this thread, paints included.
void pump();
// Paints the whole hex view now, as an uncovered window is painted.
void repaint();
// Pumps until the condition holds or the time runs out; true if it held.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000);
// Runs the editor's own message loop until no search runs; watch sees each
// message as the loop takes it. A search still running after 30 s is
// given up: false.
bool runUntilSearchEnds(const std::function<void(const MSG &)> &watch = nullptr);

// The editor started in-process on a command-line argument string, and
// stopped again (window destroyed, blocks freed, classes unregistered).
// Every session starts from no stored settings (the editor's registry key is
// deleted first) unless keepSettings asks for what the last one saved.
class EditorSession {
public:
    explicit EditorSession(const char *args = "\"\"", int show = SW_SHOWNORMAL,
                           bool keepSettings = false);
    ~EditorSession();
    bool started() const { return started_; }
    // WM_CLOSE as the close box sends it; pumps until the window is gone.
    void close();
private:
    bool started_;
};

// One of the editor's dialogs: open() opens it, and action runs inside its
// modal loop once it is shown; a dialog the action did not end is closed
// then. False when no dialog opened.
bool runDialog(const std::function<void()> &open, const std::function<void(HWND)> &action);
// A control's text and check state; whether a menu item of the editor is
// grayed.
std::string itemText(HWND dlg, int id);
bool isChecked(HWND dlg, int id);
bool menuGrayed(int id);

// Deletes the editor's registry key with its values.
void deleteSettings();

// The slot of this program's import table through which its code calls
// function of dll (named as in the table, "USER32.dll"): a test points it
// at a stand-in and back. NULL when the program imports no such function.
void **importSlot(const char *dll, const char *function);

// Files in a fresh folder of this test program under the Windows temp
// directory.
std::string tempPath(const std::string &name);
std::string writeTempFile(const std::string &name, const std::vector<unsigned char> &bytes);
// A file of size bytes, past 4 GiB too, that takes no room on the disk but
// for the pieces written at their offsets; "" when it cannot be made.
struct FilePiece {
    int64_t offset;
    std::string bytes;
};
std::string writeSparseFile(const std::string &name, int64_t size, const std::vector<FilePiece> &pieces = {});
std::vector<unsigned char> readFile(const std::string &path);
std::vector<unsigned char> patternBytes(size_t count, unsigned seed = 1);

// Sizes the main window so that the view's rectangle, scroll bars
// included, is height pixels high and width wide (0: the width stays).
void sizeViewTo(int height, int width = 0);

// Texts of windows and of the status bar parts.
std::string windowText(HWND wnd);
std::string statusText(int part);

}  // namespace wintest

#endif
