#include "registry/domain_registration.h"

#include "app/site_profile.h"
#include "registry/dword_value.h"
#include "registry/key_path.h"
#include "registry/trusted_zone_actions.h"

namespace {

constexpr auto kDomainsKey = JoinKeyPath(kZoneMapRoot, kDomainsComponent);

// Zones\2 and the domain key: their values are read and written.
constexpr RegAccess kValueAccess = kKeyQueryValue | kKeySetValue;
// Opening Domains only proves that it exists; the domain key is reached
// through it. Creating a key beneath it is checked against the Domains key's
// permissions, not against the rights this handle was opened with.
constexpr RegAccess kExistenceAccess = kKeyQueryValue;

enum class Outcome { kNextDomain, kStop };

Outcome MapDomain(RegistryKey& key, const char* domain) {
  // The Domains key itself is never created: without it there is no zone map to join.
  if (key.Open(kCurrentUser, kDomainsKey.data(), kExistenceAccess) != kRegSuccess) {
    return Outcome::kNextDomain;
  }
  // Beneath the Domains key we hold, never by path from HKEY_CURRENT_USER: a
  // Domains key removed meanwhile must not come back as a side effect.
  const RegHandle domains = key.get();
  if (key.Open(domains, domain, kValueAccess) != kRegSuccess &&
      key.Create(domains, domain, kValueAccess) != kRegSuccess) {
    return Outcome::kStop;
  }
  SetDomainZoneValue(key);
  return Outcome::kNextDomain;
}

bool IsMappedToTrustedSites(const char* domain) {
  RegistryKey key;
  if (key.Open(kCurrentUser, kDomainsKey.data(), kExistenceAccess) != kRegSuccess) return false;
  if (key.Open(key.get(), domain, kKeyQueryValue) != kRegSuccess) return false;

  DwordBytes zone;
  return ReadDwordValue(key, kZoneValueName, &zone) && zone == EncodeDword(kTrustedSitesZone);
}

}  // namespace

void SetDomainZoneValue(RegistryKey& key) {
  const DwordBytes zone = EncodeDword(kTrustedSitesZone);
  SetRegistryValue(key.get(), kZoneValueName, kRegDword, zone.data(), zone.size());
}

void RegisterTrustedDomains() {
  const auto domains = kTargetDomains;
  RegistryKey key;

  if (key.Open(kCurrentUser, kTrustedZoneKey, kValueAccess) == kRegSuccess) {
    AdjustTrustedZoneActions(key);
  }
  for (const char* domain : domains) {
    if (MapDomain(key, domain) == Outcome::kStop) break;
  }
  key.Close();
}

bool AreTargetDomainsTrusted() {
  for (const char* domain : kTargetDomains) {
    if (!IsMappedToTrustedSites(domain)) return false;
  }
  return true;
}
