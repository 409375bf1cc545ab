#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// What the scenario under way wants GetZoneMappings(2) to answer. The
// whole-program suite (tests/e2e/zone_stand_in.py) sets it in the current
// user's Software\OrvantaTest\ZoneMappingsStandIn, outside the trees it watches:
//   "Failure"  REG_DWORD    an HRESULT answered instead of a list
//   Mappings   sub-key      the list: values "1", "2", ... in order, up to the
//                           first missing number; a REG_SZ is a pattern, a
//                           value of any other type a null item
// With neither, the list is the Trusted sites of ZoneMap\Domains.

// The only zone whose mappings the stand-in answers.
inline constexpr DWORD kTrustedSitesZone = 2;

// A list item; nothing stands for a null string pointer.
using ZoneMappingItems = std::vector<std::optional<std::wstring>>;

struct ScenarioAnswer {
  HRESULT result = S_OK;  // a failure means no list
  ZoneMappingItems items;
};

ScenarioAnswer ReadScenarioAnswer();

// Adds one to "Queries" in the same key, so the scenario can tell that the
// program really asked the stand-in and not Wine's own security manager.
void CountQuery();
