#include "ui/framework/win_app.h"

namespace {

CWinApp* g_app = nullptr;

// "C:\dir\OrvantaCtrl.exe" -> "OrvantaCtrl"
std::string TitleFromModulePath(const char* path) {
  std::string title = path;
  const std::size_t slash = title.find_last_of("\\/");
  if (slash != std::string::npos) title.erase(0, slash + 1);
  const std::size_t dot = title.find_last_of('.');
  if (dot != std::string::npos && dot != 0) title.erase(dot);
  return title;
}

}  // namespace

CWinApp::CWinApp(const char* app_name) {
  if (app_name) m_strTitle = app_name;
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
  const CWinApp* app = AfxGetApp();
  return app && app->instance() ? app->instance() : GetModuleHandleA(nullptr);
}

BOOL AfxWinInit(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app || !instance) return FALSE;
  app->m_hInstance = instance;
  if (!app->m_strTitle.empty()) return TRUE;

  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(instance, path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) return FALSE;
  app->m_strTitle = TitleFromModulePath(path);
  return TRUE;
}

int AfxMessageBox(const char* text, UINT type, UINT) {
  if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
  const CWinApp* app = AfxGetApp();
  return MessageBoxA(nullptr, text, app ? app->title() : nullptr, type);
}
