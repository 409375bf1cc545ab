#include "registry/domain_registration.h"

#include <string>

#include "app/site_profile.h"
#include "registry/trusted_zone_actions.h"

namespace {

enum class Outcome { kNextDomain, kStop };

Outcome MapDomain(RegistryKey& key, const char* domain) {
  std::string path = std::string(kZoneMapRoot) + kPathSeparator + kDomainsComponent;
  // The Domains key itself is never created: without it there is no zone map to join.
  if (key.Open(kCurrentUser, path.c_str(), kKeyReadWrite) != kRegSuccess) return Outcome::kNextDomain;

  path += kPathSeparator;
  path += domain;
  if (key.Open(kCurrentUser, path.c_str(), kKeyReadWrite) != kRegSuccess &&
      key.Create(kCurrentUser, path.c_str(), kKeyReadWrite) != kRegSuccess) {
    return Outcome::kStop;
  }
  SetDomainZoneValue(key);
  return Outcome::kNextDomain;
}

}  // namespace

void SetDomainZoneValue(RegistryKey& key) {
  const DwordBytes zone = EncodeDword(kTrustedSitesZone);
  SetRegistryValue(key.get(), kZoneValueName, kRegDword, zone.data(), zone.size());
}

void RegisterTrustedDomains() {
  const auto domains = kTargetDomains;
  RegistryKey key;

  if (key.Open(kCurrentUser, kTrustedZoneKey, kKeyAllAccess) == kRegSuccess) {
    AdjustTrustedZoneActions(key);
  }
  for (const char* domain : domains) {
    if (MapDomain(key, domain) == Outcome::kStop) break;
  }
  key.Close();
}
