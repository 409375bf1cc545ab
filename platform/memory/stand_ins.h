#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the native stand-ins answer. Tests set it up before a run; every
// platform call is noted in Journal().
struct StandInScript {
  bool framework_starts = true;
  // Result of the consent dialog's DoModal: IDOK 1, IDCANCEL 2, -1.
  int consent_result = 1;
  // The Trusted sites zone mappings; nullopt stands for a null item.
  std::vector<std::optional<std::u16string>> trusted_mappings;
  // HRESULT of the mapping query; negative means it failed.
  std::int32_t mapping_query_status = 0;
};

StandInScript& Script();

// Empties the journal and the registry and restores the default script.
void ResetStandIns();
