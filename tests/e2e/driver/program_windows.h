#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Visible top-level dialog windows (class "#32770": dialogs and message boxes)
// of every running process whose executable has the file name `exe_name`,
// compared without regard to case.
std::vector<HWND> DialogWindowsOfProgram(const std::wstring& exe_name);

// The direct child control of `window` with this id, or null.
HWND ControlOf(HWND window, int id);

// True while a process with the executable file name `exe_name` runs.
bool ProgramIsRunning(const std::wstring& exe_name);
