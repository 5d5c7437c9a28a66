// The program group: a DDE conversation with the shell's Program Manager
// service, one command per execute, each after the previous acknowledgement.
#include "setup/setup_state.h"

#include <dde.h>

namespace {

// How long one window may take to answer the initiate.
const UINT INITIATE_TIMEOUT_MS = 3000;

// Nothing more can be said to the server: the run ends with the copy result.
void abandonConversation()
{
    st.ddeStep = DDE_IDLE;
    PostMessageA(st.setupDialog, WM_CLOSE, 0, 0);
}

}  // namespace

void startGroupConversation()
{
    st.ddeStep = DDE_INITIATING;
    st.ddeServer = NULL;
    st.progmanAtom = GlobalAddAtomA("PROGMAN");
    // Sent to every top-level window: one whose thread does not answer is
    // given up after a bound, so another program cannot stop the setup.
    DWORD_PTR ignored;
    SendMessageTimeoutA(st.initiateTarget, WM_DDE_INITIATE, (WPARAM)st.setupDialog,
                        MAKELPARAM(st.progmanAtom, st.progmanAtom), SMTO_ABORTIFHUNG,
                        INITIATE_TIMEOUT_MS, &ignored);
    GlobalDeleteAtom(st.progmanAtom);
    if (!st.ddeServer) {
        // No Program Manager answered: there is nobody to wait for.
        abandonConversation();
        return;
    }
    showSetupStatus("Creating menu folder ...");
    sendGroupCommand(0);
}

void sendGroupCommand(int32_t k)
{
    HGLOBAL block = NULL;
    if (k >= 0 && k < SETUP_GROUP_COMMANDS) {
        block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, SETUP_PATH_CHARS);
        char *text = block ? (char *)GlobalLock(block) : NULL;
        if (!text) {
            if (block) GlobalFree(block);
            sendGroupCommand(SETUP_GROUP_COMMANDS);     // end the conversation properly
            return;
        }
        formatGroupCommand(k, st.productTitle, st.destDir, st.programBaseName, st.winHelp, text, SETUP_PATH_CHARS);
        GlobalUnlock(block);
    }

    st.ddeStep = k + DDE_FIRST_COMMAND;
    if (st.ddeStep < DDE_TERMINATING) {
        if (!PostMessageA(st.ddeServer, WM_DDE_EXECUTE, (WPARAM)st.setupDialog, (LPARAM)block)) {
            GlobalFree(block);
            abandonConversation();
            return;
        }
        st.ddeCommands = block;
    } else if (!PostMessageA(st.ddeServer, WM_DDE_TERMINATE, (WPARAM)st.setupDialog, 0)) {
        abandonConversation();
    }
}

void handleDdeAck(HWND sender, LPARAM lParam)
{
    if (st.ddeStep == DDE_INITIATING) {
        // Every server that answers gets its atoms back; the first one is
        // the partner of the conversation.
        if (!st.ddeServer) st.ddeServer = sender;
        GlobalDeleteAtom(LOWORD(lParam));
        GlobalDeleteAtom(HIWORD(lParam));
        return;
    }

    // The answer to an execute carries its status and the command block in
    // a packed parameter that the receiver frees, also when it comes late.
    if (!st.ddeServer || sender != st.ddeServer) return;
    UINT_PTR status = 0, handle = 0;
    if (!UnpackDDElParam(WM_DDE_ACK, lParam, &status, &handle)) return;
    FreeDDElParam(WM_DDE_ACK, lParam);
    if (st.ddeStep < DDE_FIRST_COMMAND || st.ddeStep >= DDE_TERMINATING) return;

    // A refused command is followed by the next one all the same.
    if (st.ddeCommands) GlobalFree(st.ddeCommands);
    st.ddeCommands = NULL;
    sendGroupCommand(st.ddeStep - 1);
}

void handleDdeTerminate(HWND sender)
{
    if (st.ddeStep == DDE_IDLE || sender != st.ddeServer) return;
    // A server that ends the conversation on its own is answered in kind.
    if (st.ddeStep != DDE_TERMINATING)
        PostMessageA(st.ddeServer, WM_DDE_TERMINATE, (WPARAM)st.setupDialog, 0);
    st.ddeStep = DDE_IDLE;
    PostMessageA(st.setupDialog, WM_CLOSE, 0, 0);
}
