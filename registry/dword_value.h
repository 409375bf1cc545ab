#pragma once

#include "registry/registry_key.h"

// Reads the value `name` of the key held by `key` as a REG_DWORD. True only
// when the query succeeds and the value is a REG_DWORD of exactly four bytes;
// a shorter or longer one is malformed and counts as no DWORD at all.
bool ReadDwordValue(const RegistryKey& key, const char* name, DwordBytes* data);
