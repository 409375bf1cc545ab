#include "registry/popup_allow.h"

#include "app/site_profile.h"
#include "registry/key_path.h"
#include "registry/registry_key.h"

namespace {

constexpr auto kAllowKey = JoinKeyPath(kPopupSettingsRoot, kAllowComponent);

}  // namespace

void AllowDomainPopups() {
  RegistryKey key;
  // Only a value is written here: nothing else is asked of the key.
  if (key.Open(kCurrentUser, kAllowKey.data(), kKeySetValue) != kRegSuccess) return;

  const auto* data = reinterpret_cast<const unsigned char*>(kPopupAllowData);
  SetRegistryValue(key.get(), kWildcardPattern, kRegSz, data, sizeof(kPopupAllowData));
}
