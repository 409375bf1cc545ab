// The Win32 tests run as a program of their own, with the application object
// the framework expects and bound to this executable, which carries the same
// resources as OrvantaCtrl.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "ui/framework/win_app.h"

CWinApp theApp;

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!AfxWinInit(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), 0)) {
    std::fputs("the dialog framework did not start\n", stderr);
    return 1;
  }
  return RUN_ALL_TESTS();
}
