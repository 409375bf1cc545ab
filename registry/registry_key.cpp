#include "registry/registry_key.h"

RegStatus RegistryKey::Open(RegHandle root, const char* path, RegAccess access) {
  RegHandle fresh = kNoKey;
  const RegStatus status = OpenRegistryKey(root, path, access, &fresh);
  if (status != kRegSuccess) return status;
  return Hold(fresh);
}

RegStatus RegistryKey::Create(RegHandle root, const char* path, RegAccess access) {
  RegHandle fresh = kNoKey;
  const RegStatus status = CreateRegistryKey(root, path, access, &fresh);
  if (status != kRegSuccess) return status;
  return Hold(fresh);
}

RegStatus RegistryKey::Close() {
  if (handle_ == kNoKey) return kRegSuccess;
  const RegHandle held = handle_;
  handle_ = kNoKey;
  return CloseRegistryKey(held);
}

RegStatus RegistryKey::Hold(RegHandle fresh) {
  // The new key is held whatever the old key's close reports.
  const RegStatus closed = Close();
  handle_ = fresh;
  return closed;
}
