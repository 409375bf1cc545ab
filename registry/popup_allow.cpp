#include "registry/popup_allow.h"

#include <string>

#include "app/site_profile.h"
#include "registry/registry_key.h"

void AllowDomainPopups() {
  const std::string path = std::string(kPopupSettingsRoot) + kPathSeparator + kAllowComponent;
  RegistryKey key;
  if (key.Open(kCurrentUser, path.c_str(), kKeyAllAccess) != kRegSuccess) return;

  const auto* data = reinterpret_cast<const unsigned char*>(kPopupAllowData);
  SetRegistryValue(key.get(), kWildcardPattern, kRegSz, data, sizeof(kPopupAllowData));
}
