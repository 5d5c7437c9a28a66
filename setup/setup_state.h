// The setup program's one process-wide record, used from its single GUI
// thread, and its operations.
#ifndef SETUP_STATE_H
#define SETUP_STATE_H

#include <windows.h>
#include <stdint.h>

#include "setup/setup_ids.h"
#include "setup/setup_paths.h"

enum {
    SETUP_COMPLETED = 0,
    SETUP_FAILED = 1,
    SETUP_CANCELED = 2
};

enum {
    DDE_IDLE = 0,           // no conversation
    DDE_INITIATING = 1,     // the initiate is being broadcast
    DDE_FIRST_COMMAND = 2,  // 2..6: command ddeStep - 2 posted, its ack awaited
    DDE_TERMINATING = 7     // our terminate posted, the server's awaited
};

struct SetupState {
    const char *productName;        // "quillon"
    const char *productTitle;       // "Quillon"
    const char *vendorKeyPrefix;    // "Software\Ostrel\"
    char registryKeyPath[64];
    char defaultSubdir[32];
    char programBaseName[32];
    char driveRoot[8];
    char destDir[SETUP_PATH_CHARS];
    char savedDir[SETUP_PATH_CHARS];
    char pathBuffer[SETUP_PATH_CHARS];
    int32_t setupResult;
    uint8_t addIcons;
    uint8_t winHelp;                // the system has WinHelp: Windows 95 to XP
    uint8_t installed;              // OK has copied the files
    uint8_t closing;                // the result message is up
    HWND setupDialog;
    HWND hiddenWindow;

    // Program Manager conversation
    HWND ddeServer;
    int32_t ddeStep;
    HGLOBAL ddeCommands;
    ATOM progmanAtom;
    HWND initiateTarget;            // where the initiate goes: HWND_BROADCAST
};

extern SetupState st;

// Clears the record and builds the names derived from the product name.
void resetSetupState();

BOOL registerSetupClass(HINSTANCE instance);
void unregisterSetupClass(HINSTANCE instance);
HWND createSetupWindow(HINSTANCE instance);
INT_PTR CALLBACK setupDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

void showSetupStatus(const char *text);
void showSetupDirectory(const char *text);
int32_t prepareDestination();
int32_t copyProgramFile(int32_t k);
void writeSetupValue(const char *name, const char *value);

// Program Manager group
void startGroupConversation();
void sendGroupCommand(int32_t k);
void handleDdeAck(HWND sender, LPARAM lParam);
void handleDdeTerminate(HWND sender);

// The whole program after WinMain's start: class, hidden window, dialog and
// message loop; returns the exit code.
int runSetup(HINSTANCE instance);

#endif
