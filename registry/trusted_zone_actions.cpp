#include "registry/trusted_zone_actions.h"

#include "app/site_profile.h"
#include "registry/dword_value.h"

namespace {

void ApplyPolicy(RegistryKey& key, const UrlActionPolicy& policy) {
  // Missing, of another type or malformed: leave it to whoever wrote it.
  DwordBytes current;
  if (!ReadDwordValue(key, policy.name, &current)) return;

  const DwordBytes desired = EncodeDword(policy.desired);
  if (current == desired) return;
  SetRegistryValue(key.get(), policy.name, kRegDword, desired.data(), desired.size());
}

}  // namespace

void AdjustTrustedZoneActions(RegistryKey& key) {
  for (const UrlActionPolicy& policy : kTrustedZoneActions) ApplyPolicy(key, policy);
}
