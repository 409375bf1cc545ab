#include "trusted_sites_listing.h"

#include "registry_access.h"

namespace {

constexpr wchar_t kDomainsPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";

// One pattern for each value of `key` mapped to `zone`: "*" stands for every
// scheme, any other value name is a scheme of its own.
void AddPatternsOf(HKEY key, const std::wstring& site, DWORD zone,
                   std::vector<std::wstring>& patterns) {
  for (const std::wstring& scheme : DwordValuesEqualTo(key, zone))
    patterns.push_back(scheme == L"*" ? site : scheme + L"://" + site);
}

}  // namespace

std::vector<std::wstring> ListSitesMappedTo(DWORD zone) {
  std::vector<std::wstring> patterns;
  const UniqueKey domains = OpenKeyForReading(HKEY_CURRENT_USER, kDomainsPath);
  if (!domains) return patterns;
  for (const std::wstring& domain : SubKeyNames(domains.get())) {
    const UniqueKey domain_key = OpenKeyForReading(domains.get(), domain);
    if (!domain_key) continue;
    AddPatternsOf(domain_key.get(), L"*." + domain, zone, patterns);
    for (const std::wstring& host : SubKeyNames(domain_key.get())) {
      const UniqueKey host_key = OpenKeyForReading(domain_key.get(), host);
      if (host_key) AddPatternsOf(host_key.get(), host + L"." + domain, zone, patterns);
    }
  }
  return patterns;
}
