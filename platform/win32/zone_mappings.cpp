#include "platform/zone_mappings.h"

#include <objbase.h>
#include <urlmon.h>
#include <windows.h>

#include "platform/win32/com_ptr.h"

namespace {

// The system's URL security manager and URL zone manager.
constexpr CLSID kSecurityManagerClass = {
    0x7B8A2D94, 0x0AC9, 0x11D1, {0x89, 0x6C, 0x00, 0xC0, 0x4F, 0xB6, 0xBF, 0xC4}};
constexpr IID kSecurityManagerInterface = {
    0x79EAC9EE, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};
constexpr CLSID kZoneManagerClass = {
    0x7B8A2D95, 0x0AC9, 0x11D1, {0x89, 0x6C, 0x00, 0xC0, 0x4F, 0xB6, 0xBF, 0xC4}};
constexpr IID kZoneManagerInterface = {
    0x79EAC9EF, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};

HResult WalkMappings(IInternetSecurityManager& security, std::uint32_t zone,
                     const MappingVisitor& visit) {
  ComPtr<IEnumString> mappings;
  const HRESULT listed = security.GetZoneMappings(zone, mappings.put(), 0);
  if (FAILED(listed) || !mappings) return listed;

  for (;;) {
    CoTaskString pattern;
    const HRESULT next = mappings->Next(1, pattern.put(), nullptr);
    if (next != S_OK) return next;
    if (visit(reinterpret_cast<const char16_t*>(pattern.get()))) return S_OK;
  }
}

}  // namespace

HResult VisitZoneMappings(std::uint32_t zone, const MappingVisitor& visit) {
  // COM stays initialised once the managers exist; only a failed creation undoes it.
  CoInitialize(nullptr);

  ComPtr<IInternetSecurityManager> security;
  HRESULT created = CoCreateInstance(kSecurityManagerClass, nullptr, CLSCTX_ALL,
                                     kSecurityManagerInterface, security.put_void());
  if (created != S_OK) {
    security.reset();
    CoUninitialize();
    return created;
  }
  // Required to exist, though none of its operations is needed.
  ComPtr<IInternetZoneManager> zones;
  created = CoCreateInstance(kZoneManagerClass, nullptr, CLSCTX_ALL, kZoneManagerInterface,
                             zones.put_void());
  if (created != S_OK) {
    zones.reset();
    security.reset();
    CoUninitialize();
    return created;
  }
  if (!security || !zones) return E_POINTER;

  return WalkMappings(*security.get(), zone, visit);
}
