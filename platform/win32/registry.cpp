#include "platform/registry.h"

#include <windows.h>

namespace {

HKEY AsHkey(RegHandle handle) { return reinterpret_cast<HKEY>(handle); }

}  // namespace

RegStatus OpenRegistryKey(RegHandle root, const char* path, RegAccess access, RegHandle* key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(AsHkey(root), path, 0, access, &opened);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(opened);
  return status;
}

RegStatus CreateRegistryKey(RegHandle root, const char* path, RegAccess access, RegHandle* key) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  const LONG status = RegCreateKeyExA(AsHkey(root), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &created, &disposition);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(created);
  return status;
}

RegStatus QueryRegistryValue(RegHandle key, const char* name, std::uint32_t* type,
                             unsigned char* data, std::uint32_t* size) {
  DWORD stored_type = type ? *type : 0;
  DWORD stored_size = size ? *size : 0;
  const LONG status = RegQueryValueExA(AsHkey(key), name, nullptr, type ? &stored_type : nullptr,
                                       data, size ? &stored_size : nullptr);
  if (type) *type = stored_type;
  if (size) *size = stored_size;
  return status;
}

RegStatus SetRegistryValue(RegHandle key, const char* name, std::uint32_t type,
                           const unsigned char* data, std::uint32_t size) {
  return RegSetValueExA(AsHkey(key), name, 0, type, data, size);
}

RegStatus CloseRegistryKey(RegHandle key) { return RegCloseKey(AsHkey(key)); }
