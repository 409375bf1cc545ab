#pragma once

#include <windows.h>

// Where a DLL that is loaded by name, by the program or by the system on its
// behalf, may come from once the start-up has narrowed the search.
enum class DllSearch {
  kSystem32Only,             // nowhere but System32
  kCurrentDirectoryRemoved,  // the usual places less the current directory;
                             // the executable's own folder is still searched
  kUnchanged,                // the usual places: neither call took effect
};

// The kernel32 calls that narrow the search. SetDefaultDllDirectories is null
// where the system lacks it: Vista, and Windows 7 without KB2533623.
struct DllSearchCalls {
  BOOL(WINAPI* set_default_dll_directories)(DWORD flags);
  BOOL(WINAPI* set_dll_directory)(LPCWSTR path);
};

// This system's calls. SetDefaultDllDirectories is looked up at run time: an
// import of it would keep the executable from starting where it is missing.
DllSearchCalls SystemDllSearchCalls();

// Narrows the search as far as `calls` allow and says how far that was.
DllSearch RestrictDllSearch(const DllSearchCalls& calls);
