#include "platform/startup.h"

#include <objbase.h>
#include <windows.h>

#include "ui/framework/win_app.h"

bool InitializeFramework() {
  return AfxWinInit(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), 0) != FALSE;
}

void InitializeCom() { CoInitialize(nullptr); }
