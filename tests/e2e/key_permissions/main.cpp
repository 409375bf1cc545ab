// Gives registry keys of the current user the permissions a hardened or
// damaged profile has, before OrvantaCtrl runs in the same Wine prefix.
//
//   orvanta_e2e_key_permissions KEY SDDL [KEY SDDL]...
//
// KEY is a path under HKEY_CURRENT_USER; SDDL is a security descriptor whose
// DACL replaces the key's, e.g. "D:P(A;;0x2001b;;;WD)": everyone may read
// and set values, nothing more. Wine keeps permissions in its running
// wineserver only, so the program must start while that server still runs.
// Prints "permissions=set" when every key has them; on a failure it prints
// "error=..." and ends with exit code 1.

#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <string>

namespace {

struct LocalMemory {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ~LocalMemory() { LocalFree(descriptor); }
};

struct RegistryKey {
  HKEY handle = nullptr;
  ~RegistryKey() {
    if (handle) RegCloseKey(handle);
  }
};

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  return narrow;
}

// Empty when the key got the permissions, otherwise what went wrong.
std::string SetPermissions(const wchar_t* key_path, const wchar_t* sddl) {
  LocalMemory security;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                            &security.descriptor, nullptr)) {
    return "not a security descriptor: " + Narrow(sddl);
  }
  RegistryKey key;
  LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, key_path, 0, WRITE_DAC, &key.handle);
  if (status != ERROR_SUCCESS) return "cannot open " + Narrow(key_path) + ": " + std::to_string(status);
  status = RegSetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, security.descriptor);
  if (status != ERROR_SUCCESS) return "cannot set " + Narrow(key_path) + ": " + std::to_string(status);
  return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::puts("error=usage: orvanta_e2e_key_permissions KEY SDDL [KEY SDDL]...");
    return 1;
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string failure = SetPermissions(argv[i], argv[i + 1]);
    if (!failure.empty()) {
      std::printf("error=%s\n", failure.c_str());
      return 1;
    }
  }
  std::puts("permissions=set");
  return 0;
}
