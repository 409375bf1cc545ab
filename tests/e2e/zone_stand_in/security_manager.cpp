#include "security_manager.h"

#include <memory>
#include <new>
#include <utility>

#include "scenario_answer.h"
#include "string_list_enumerator.h"

HRESULT SecurityManagerStandIn::SetSecuritySite(IInternetSecurityMgrSite*) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::GetSecuritySite(IInternetSecurityMgrSite**) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::MapUrlToZone(LPCWSTR, DWORD*, DWORD) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::ProcessUrlAction(LPCWSTR, DWORD, BYTE*, DWORD, BYTE*, DWORD,
                                                 DWORD, DWORD) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD,
                                                  DWORD) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::SetZoneMapping(DWORD, LPCWSTR, DWORD) {
  return INET_E_DEFAULT_ACTION;
}

HRESULT SecurityManagerStandIn::GetZoneMappings(DWORD zone, IEnumString** mappings, DWORD) {
  if (!mappings) return E_POINTER;
  *mappings = nullptr;
  // Only the Trusted sites are counted: a query for another zone leaves
  // "Queries" as it was, and the scenario fails.
  if (zone != kTrustedSitesZone) return INET_E_DEFAULT_ACTION;
  CountQuery();

  ScenarioAnswer answer = ReadScenarioAnswer();
  if (answer.result != S_OK) return answer.result;
  *mappings = new (std::nothrow) StringListEnumerator(
      std::make_shared<const ZoneMappingItems>(std::move(answer.items)));
  return *mappings ? S_OK : E_OUTOFMEMORY;
}
