#pragma once

#include "registry/registry_key.h"

// Adjusts the Trusted sites zone's URL actions, then maps every target domain
// to the Trusted sites zone for every scheme. Failures are silent; a domain
// key that can be neither opened nor created ends the walk.
void RegisterTrustedDomains();

// Writes "*" = REG_DWORD 2 on the domain key held by `key`; the result is ignored.
void SetDomainZoneValue(RegistryKey& key);

// Reads the zone map back: true only when every target domain's "*" value is
// REG_DWORD 2. Whatever the writes reported, this is what Internet Explorer
// will find.
bool AreTargetDomainsTrusted();
