#pragma once

#include <windows.h>

// Real input, the way a person gives it: through the system's input queue,
// reaching whatever window lies under the mouse or has the keyboard focus.

// Moves the mouse to the centre of `window` and clicks the left button there.
bool ClickCentreOf(HWND window);

// Activates `window` and waits until its thread has it active with a focused
// control, so that keys pressed next go to it. False when that never happens.
bool BringToFront(HWND window, DWORD timeout_ms);

// Presses and releases one key.
bool PressKey(WORD virtual_key);
