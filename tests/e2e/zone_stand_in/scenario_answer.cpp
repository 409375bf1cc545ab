#include "scenario_answer.h"

#include "registry_access.h"
#include "trusted_sites_listing.h"

namespace {

constexpr wchar_t kStandInPath[] = L"Software\\OrvantaTest\\ZoneMappingsStandIn";

ZoneMappingItems ReadItems(HKEY mappings) {
  ZoneMappingItems items;
  for (unsigned number = 1;; ++number) {
    const std::wstring name = std::to_wstring(number);
    if (!HasValue(mappings, name.c_str())) return items;
    items.push_back(ReadString(mappings, name.c_str()));
  }
}

}  // namespace

ScenarioAnswer ReadScenarioAnswer() {
  if (const UniqueKey settings = OpenKeyForReading(HKEY_CURRENT_USER, kStandInPath)) {
    if (const auto failure = ReadDword(settings.get(), L"Failure"))
      return {static_cast<HRESULT>(*failure), {}};
    if (const UniqueKey mappings = OpenKeyForReading(settings.get(), L"Mappings"))
      return {S_OK, ReadItems(mappings.get())};
  }
  const std::vector<std::wstring> sites = ListSitesMappedTo(kTrustedSitesZone);
  return {S_OK, ZoneMappingItems(sites.begin(), sites.end())};
}

void CountQuery() {
  const UniqueKey settings = CreateKeyForWriting(HKEY_CURRENT_USER, kStandInPath);
  if (!settings) return;
  WriteDword(settings.get(), L"Queries", ReadDword(settings.get(), L"Queries").value_or(0) + 1);
}
