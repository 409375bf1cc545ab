#include <windows.h>

#include "app/run_sequence.h"
#include "ui/framework/win_app.h"

// Runs before every other static constructor, theApp's included: from here on
// a DLL loaded by name comes from System32 only, never from beside the
// executable in a downloads folder. The DLLs the executable imports are all
// KnownDLLs, which the loader maps from System32 before this runs.
__attribute__((constructor(101))) static void RestrictDllSearchToSystem32() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The process's one application object. It has no name, so the framework
// takes the executable's file name as the application title.
CWinApp theApp;

int main(int, char**, char**) { return RunOrvantaCtrl(); }
