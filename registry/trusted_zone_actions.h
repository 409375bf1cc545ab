#pragma once

#include "registry/registry_key.h"

// Sets the Trusted sites zone's ActiveX URL actions on the zone key held by
// `key`. Only existing REG_DWORD values are changed; nothing is created and
// nothing is reported.
void AdjustTrustedZoneActions(RegistryKey& key);
