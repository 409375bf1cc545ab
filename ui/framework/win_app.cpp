#include "ui/framework/win_app.h"

#include <algorithm>
#include <cwchar>

namespace {

CWinApp* g_app = nullptr;

// The longest path Windows hands out: 32,767 units and the terminator.
constexpr DWORD kLongestPath = 32768;

OwnedText CopyText(const wchar_t* text, std::size_t length) {
  auto* copy = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
  if (!copy) return nullptr;
  std::wmemcpy(copy, text, length);
  copy[length] = L'\0';
  return OwnedText(copy);
}

// The module's whole path. A MAX_PATH buffer would cut a deep folder's path
// short (or fail), so the buffer grows until the path fits.
OwnedText ModuleFilePath(HINSTANCE module) {
  DWORD capacity = MAX_PATH;
  for (;;) {
    OwnedText path(static_cast<wchar_t*>(std::malloc(capacity * sizeof(wchar_t))));
    if (!path) return nullptr;
    // A path that fills the buffer may have been cut: only a shorter one is whole.
    const DWORD length = GetModuleFileNameW(module, path.get(), capacity);
    if (length == 0) return nullptr;
    if (length < capacity) return path;
    if (capacity == kLongestPath) return nullptr;
    capacity = std::min(capacity * 2, kLongestPath);
  }
}

// "C:\dir\OrvantaCtrl.exe" -> "OrvantaCtrl"
OwnedText TitleFromModulePath(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* at = path; *at != L'\0'; ++at) {
    if (*at == L'\\' || *at == L'/') name = at + 1;
  }
  std::size_t length = std::wcslen(name);
  const wchar_t* dot = std::wcsrchr(name, L'.');
  if (dot && dot != name) length = static_cast<std::size_t>(dot - name);
  return CopyText(name, length);
}

}  // namespace

CWinApp::CWinApp(const wchar_t* app_name) {
  if (app_name) m_pszTitle = CopyText(app_name, std::wcslen(app_name));
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
  const CWinApp* app = AfxGetApp();
  return app && app->instance() ? app->instance() : GetModuleHandleW(nullptr);
}

BOOL AfxWinInit(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app || !instance) return FALSE;
  app->m_hInstance = instance;
  if (app->m_pszTitle) return TRUE;

  const OwnedText path = ModuleFilePath(instance);
  if (!path) return FALSE;
  app->m_pszTitle = TitleFromModulePath(path.get());
  return app->m_pszTitle != nullptr;
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT) {
  if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
  const CWinApp* app = AfxGetApp();
  return MessageBoxW(nullptr, text, app ? app->title() : nullptr, type);
}
