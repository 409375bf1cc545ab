#pragma once

// True only when a site pattern mapped to the Trusted sites zone already
// contains kTargetDomain. Every failure answers false, so the user is asked.
bool IsDomainInTrustedZone();
