// The DLL's two exports and its one class factory. The factory is a static
// object and the DLL stays loaded once used: the stand-in lives as long as
// the process that loaded it, which is one run of the program.
#include <objbase.h>
#include <urlmon.h>

#include <new>

#include "security_manager.h"

namespace {

class SecurityManagerFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (!IsEqualIID(id, IID_IUnknown) && !IsEqualIID(id, IID_IClassFactory)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* manager = new (std::nothrow) SecurityManagerStandIn;
    if (!manager) return E_OUTOFMEMORY;
    const HRESULT found = manager->QueryInterface(id, object);
    manager->Release();  // the creation's own reference
    return found;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

SecurityManagerFactory security_manager_factory;

}  // namespace

STDAPI DllGetClassObject(REFCLSID class_id, REFIID id, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(class_id, CLSID_InternetSecurityManager)) return CLASS_E_CLASSNOTAVAILABLE;
  return security_manager_factory.QueryInterface(id, object);
}

STDAPI DllCanUnloadNow() { return S_FALSE; }
