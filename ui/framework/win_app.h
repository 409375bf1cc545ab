#pragma once

#include <windows.h>

#include <cstdlib>
#include <memory>

// Wide text from malloc, freed with it: the framework links no allocator
// that can throw.
struct FreeWithCrt {
  void operator()(void* memory) const { std::free(memory); }
};
using OwnedText = std::unique_ptr<wchar_t, FreeWithCrt>;

// The application object: one per process, created before main. With no name
// given, the title is the executable's file name without its extension.
class CWinApp {
 public:
  explicit CWinApp(const wchar_t* app_name = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  HINSTANCE instance() const { return m_hInstance; }
  const wchar_t* title() const { return m_pszTitle ? m_pszTitle.get() : L""; }

 private:
  friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);

  HINSTANCE m_hInstance = nullptr;
  OwnedText m_pszTitle;
};

// The application object of this process, or null before it is constructed.
CWinApp* AfxGetApp();

// The module that holds the program's resources: the application's module,
// or this executable's when the framework has not been initialised.
HINSTANCE AfxGetInstanceHandle();

// Binds the application object to the module and works out its title from
// the module's whole path, however deep its folder. FALSE when there is no
// application object or the module's path cannot be read.
BOOL AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command);

// A message box with no owner and the application title as caption. Without
// an icon in `type`, the exclamation icon is shown.
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT help_id = 0);
