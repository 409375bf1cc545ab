#include "registry/trusted_zone_actions.h"

#include "app/site_profile.h"

namespace {

void ApplyPolicy(RegistryKey& key, const UrlActionPolicy& policy) {
  std::uint32_t type = 0;
  DwordBytes current = {};
  auto size = static_cast<std::uint32_t>(current.size());
  if (QueryRegistryValue(key.get(), policy.name, &type, current.data(), &size) != kRegSuccess) return;
  // A REG_DWORD shorter than four bytes is malformed: leave it to whoever wrote it.
  if (type != kRegDword || size != current.size()) return;

  const DwordBytes desired = EncodeDword(policy.desired);
  if (current == desired) return;
  SetRegistryValue(key.get(), policy.name, kRegDword, desired.data(), desired.size());
}

}  // namespace

void AdjustTrustedZoneActions(RegistryKey& key) {
  for (const UrlActionPolicy& policy : kTrustedZoneActions) ApplyPolicy(key, policy);
}
