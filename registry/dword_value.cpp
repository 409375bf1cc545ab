#include "registry/dword_value.h"

bool ReadDwordValue(const RegistryKey& key, const char* name, DwordBytes* data) {
  std::uint32_t type = 0;
  *data = {};  // no stale bytes from an earlier read reach the comparison
  auto size = static_cast<std::uint32_t>(data->size());
  if (QueryRegistryValue(key.get(), name, &type, data->data(), &size) != kRegSuccess) return false;
  return type == kRegDword && size == data->size();
}
