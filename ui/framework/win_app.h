#pragma once

#include <windows.h>

#include <string>

// The application object: one per process, created before main. With no name
// given, the title is the executable's file name without its extension.
class CWinApp {
 public:
  explicit CWinApp(const char* app_name = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  HINSTANCE instance() const { return m_hInstance; }
  const char* title() const { return m_strTitle.c_str(); }

 private:
  friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);

  HINSTANCE m_hInstance = nullptr;
  std::string m_strTitle;
};

// The application object of this process, or null before it is constructed.
CWinApp* AfxGetApp();

// The module that holds the program's resources: the application's module,
// or this executable's when the framework has not been initialised.
HINSTANCE AfxGetInstanceHandle();

// Binds the application object to the module and works out its title.
// FALSE when there is no application object or the module has no file name.
BOOL AfxWinInit(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command);

// A message box with no owner and the application title as caption. Without
// an icon in `type`, the exclamation icon is shown.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT help_id = 0);
