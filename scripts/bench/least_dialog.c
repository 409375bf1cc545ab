/* The least program that shows the consent dialog's template: the yardstick
   for OrvantaCtrl's start-up time. It is linked with the same compiled
   resources and does nothing but DialogBoxParam.

   Built with -DCREATE_SECURITY_MANAGER_FIRST it first creates the URL
   security manager, as OrvantaCtrl's trusted-zone probe must before it may
   show anything: the part of the start-up time the probe cannot avoid. */
#include <windows.h>
#ifdef CREATE_SECURITY_MANAGER_FIRST
#include <objbase.h>
#endif

enum { kConsentDialog = 1000 };

static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  (void)lparam;
  if (message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

#ifdef CREATE_SECURITY_MANAGER_FIRST
static void CreateSecurityManager(void) {
  static const CLSID kSecurityManager = {
      0x7B8A2D94, 0x0AC9, 0x11D1, {0x89, 0x6C, 0x00, 0xC0, 0x4F, 0xB6, 0xBF, 0xC4}};
  IUnknown *manager = NULL;
  CoInitialize(NULL);
  if (SUCCEEDED(CoCreateInstance(&kSecurityManager, NULL, CLSCTX_ALL, &IID_IUnknown,
                                 (void **)&manager)))
    manager->lpVtbl->Release(manager);
}
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  (void)previous;
  (void)command_line;
  (void)show;
#ifdef CREATE_SECURITY_MANAGER_FIRST
  CreateSecurityManager();
#endif
  return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(kConsentDialog), NULL, DialogProc, 0);
}
