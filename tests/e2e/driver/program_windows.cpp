#include "program_windows.h"

#include <tlhelp32.h>

#include <algorithm>

#include "unique_handle.h"

namespace {

std::vector<DWORD> ProcessIdsNamed(const std::wstring& exe_name) {
  std::vector<DWORD> ids;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, exe_name.c_str()) == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

struct DialogSearch {
  std::vector<DWORD> process_ids;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<DialogSearch*>(context);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (lstrcmpW(class_name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  const auto& ids = search.process_ids;
  if (std::find(ids.begin(), ids.end(), process_id) != ids.end()) search.found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> DialogWindowsOfProgram(const std::wstring& exe_name) {
  DialogSearch search{ProcessIdsNamed(exe_name), {}};
  if (search.process_ids.empty()) return {};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ControlOf(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  return control && GetParent(control) == window ? control : nullptr;
}

bool ProgramIsRunning(const std::wstring& exe_name) { return !ProcessIdsNamed(exe_name).empty(); }
