#include <windows.h>

#include "app/run_sequence.h"
#include "platform/win32/dll_search.h"
#include "ui/framework/win_app.h"

// Runs before every other static constructor, theApp's included: from here on
// a DLL loaded by name comes from System32 only, never from beside the
// executable in a downloads folder; where Windows cannot do that, at least
// not from the current directory. The DLLs the executable imports are all
// KnownDLLs, which the loader maps from System32 before this runs.
__attribute__((constructor(101))) static void NarrowDllSearch() {
  RestrictDllSearch(SystemDllSearchCalls());
}

// The process's one application object. It has no name, so the framework
// takes the executable's file name as the application title.
CWinApp theApp;

int main(int, char**, char**) { return RunOrvantaCtrl(); }
