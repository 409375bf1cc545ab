#include "probe/trusted_zone_probe.h"

#include "app/site_profile.h"
#include "platform/zone_mappings.h"
#include "probe/site_pattern.h"

namespace {

// The patterns are matched in the ANSI code page, as the system hands them to
// narrow programs. The domain is ASCII, and ASCII bytes mean the same in every
// ANSI code page, so the answer does not depend on the system's language; only
// the lead-byte rule keeps a match from starting inside a double-byte character.
bool ContainsTargetDomain(const char16_t* pattern, void* found) {
  const AnsiPattern narrow(pattern);
  *static_cast<bool*>(found) = ContainsDomain(narrow.data(), narrow.size(), kTargetDomain);
  return *static_cast<bool*>(found);
}

}  // namespace

bool IsDomainInTrustedZone() {
  bool found = false;
  // A failed query leaves `found` false: the user is then simply asked.
  VisitZoneMappings(kTrustedSitesZone, ContainsTargetDomain, &found);
  return found;
}
