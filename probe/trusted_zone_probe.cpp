#include "probe/trusted_zone_probe.h"

#include "app/site_profile.h"
#include "platform/zone_mappings.h"
#include "probe/site_pattern.h"

bool IsDomainInTrustedZone() {
  bool found = false;
  // A failed query leaves `found` false: the user is then simply asked.
  VisitZoneMappings(kTrustedSitesZone, [&found](const char16_t* pattern) {
    found = ContainsDomain(SitePatternToAnsi(pattern), kTargetDomain);
    return found;
  });
  return found;
}
