#pragma once

#include <urlmon.h>

#include "com_object.h"

// Stands in for the system's URL security manager: GetZoneMappings(2) answers
// what the scenario set (see scenario_answer.h); everything else leaves the
// decision to the caller's default, as a manager with no opinion does.
class SecurityManagerStandIn final
    : public ComObject<IInternetSecurityManager, IID_IInternetSecurityManager> {
 public:
  HRESULT STDMETHODCALLTYPE SetSecuritySite(IInternetSecurityMgrSite* site) override;
  HRESULT STDMETHODCALLTYPE GetSecuritySite(IInternetSecurityMgrSite** site) override;
  HRESULT STDMETHODCALLTYPE MapUrlToZone(LPCWSTR url, DWORD* zone, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetSecurityId(LPCWSTR url, BYTE* id, DWORD* id_size,
                                          DWORD_PTR reserved) override;
  HRESULT STDMETHODCALLTYPE ProcessUrlAction(LPCWSTR url, DWORD action, BYTE* policy,
                                             DWORD policy_size, BYTE* context,
                                             DWORD context_size, DWORD flags,
                                             DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE QueryCustomPolicy(LPCWSTR url, REFGUID key, BYTE** policy,
                                              DWORD* policy_size, BYTE* context,
                                              DWORD context_size, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE SetZoneMapping(DWORD zone, LPCWSTR pattern, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetZoneMappings(DWORD zone, IEnumString** mappings,
                                            DWORD flags) override;
};
