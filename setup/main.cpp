// The installer's entry point; the command line is not used.
#include "setup/setup_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return runSetup(instance);
}
