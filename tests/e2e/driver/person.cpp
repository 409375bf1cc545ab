#include "person.h"

#include "poll.h"

namespace {

bool Send(INPUT* inputs, UINT count) {
  return SendInput(count, inputs, sizeof(INPUT)) == count;
}

// Absolute mouse positions run from 0 to 65535 across the screen; rounding up
// makes the system's conversion back land on the very pixel.
LONG NormalizedCoordinate(LONG pixel, int screen_size) {
  return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen_size - 1) / screen_size);
}

bool HasKeyboardFocus(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return false;
  return GetForegroundWindow() == window && info.hwndActive == window && info.hwndFocus &&
         (info.hwndFocus == window || IsChild(window, info.hwndFocus));
}

}  // namespace

bool ClickCentreOf(HWND window) {
  RECT rect = {};
  if (!GetWindowRect(window, &rect)) return false;
  const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  // Every event carries the point: a mouse move still on its way from the X
  // server must not carry the press or the release somewhere else.
  INPUT events[3] = {};
  const DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    events[i].type = INPUT_MOUSE;
    events[i].mi.dx = NormalizedCoordinate(centre.x, GetSystemMetrics(SM_CXSCREEN));
    events[i].mi.dy = NormalizedCoordinate(centre.y, GetSystemMetrics(SM_CYSCREEN));
    events[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags[i];
  }
  return Send(events, 3);
}

bool BringToFront(HWND window, DWORD timeout_ms) {
  return PollUntil(timeout_ms, [window] {
    if (HasKeyboardFocus(window)) return true;
    SetForegroundWindow(window);
    return false;
  });
}

bool PressKey(WORD virtual_key) {
  INPUT strokes[2] = {};
  strokes[0].type = INPUT_KEYBOARD;
  strokes[0].ki.wVk = virtual_key;
  strokes[1].type = INPUT_KEYBOARD;
  strokes[1].ki.wVk = virtual_key;
  strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return Send(strokes, 2);
}
