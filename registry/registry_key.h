#pragma once

#include "platform/registry.h"

// Owns at most one open registry key. A new key is always obtained before
// the one held is closed, so a failed Open or Create leaves the holder as it was.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens an existing key. Result: the open's failure (old key kept), or else
  // the result of closing the old key (the new key is held either way).
  RegStatus Open(RegHandle root, const char* path, RegAccess access);
  // Opens or creates the key; results as for Open.
  RegStatus Create(RegHandle root, const char* path, RegAccess access);
  // Closes the held key, if any, and forgets it; 0 when nothing was held.
  RegStatus Close();

  RegHandle get() const { return handle_; }

 private:
  RegStatus Hold(RegHandle fresh);

  RegHandle handle_ = kNoKey;
};
