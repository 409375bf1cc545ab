#include "platform/win32/dll_search.h"

DllSearchCalls SystemDllSearchCalls() {
  DllSearchCalls calls = {nullptr, SetDllDirectoryW};
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return calls;
  // Through a function type without parameters, which GCC accepts as a cast
  // between unrelated function types.
  const auto found =
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories"));
  calls.set_default_dll_directories = reinterpret_cast<BOOL(WINAPI*)(DWORD)>(found);
  return calls;
}

DllSearch RestrictDllSearch(const DllSearchCalls& calls) {
  if (calls.set_default_dll_directories &&
      calls.set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return DllSearch::kSystem32Only;
  }
  // An empty path, not a null one: null would put the current directory back.
  if (calls.set_dll_directory && calls.set_dll_directory(L"")) {
    return DllSearch::kCurrentDirectoryRemoved;
  }
  return DllSearch::kUnchanged;
}
