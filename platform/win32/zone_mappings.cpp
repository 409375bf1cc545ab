#include "platform/zone_mappings.h"

#include <objbase.h>
#include <urlmon.h>
#include <windows.h>

#include "platform/win32/com_ptr.h"

namespace {

HResult WalkMappings(IInternetSecurityManager& security, std::uint32_t zone, MappingVisitor visit,
                     void* context) {
  ComPtr<IEnumString> mappings;
  const HRESULT listed = security.GetZoneMappings(zone, mappings.put(), 0);
  if (FAILED(listed) || !mappings) return listed;

  for (;;) {
    CoTaskString pattern;
    const HRESULT next = mappings->Next(1, pattern.put(), nullptr);
    if (next != S_OK) return next;
    if (visit(reinterpret_cast<const char16_t*>(pattern.get()), context)) return S_OK;
  }
}

}  // namespace

HResult VisitZoneMappings(std::uint32_t zone, MappingVisitor visit, void* context) {
  // COM stays initialised once the managers exist; only a failed creation undoes it.
  CoInitialize(nullptr);

  ComPtr<IInternetSecurityManager> security;
  HRESULT created = CoCreateInstance(CLSID_InternetSecurityManager, nullptr, CLSCTX_ALL,
                                     IID_IInternetSecurityManager, security.put_void());
  if (created != S_OK) {
    security.reset();
    CoUninitialize();
    return created;
  }
  // Required to exist, though none of its operations is needed.
  ComPtr<IInternetZoneManager> zones;
  created = CoCreateInstance(CLSID_InternetZoneManager, nullptr, CLSCTX_ALL,
                             IID_IInternetZoneManager, zones.put_void());
  if (created != S_OK) {
    zones.reset();
    security.reset();
    CoUninitialize();
    return created;
  }
  if (!security || !zones) return E_POINTER;

  return WalkMappings(*security.get(), zone, visit, context);
}
