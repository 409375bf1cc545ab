#include "person.h"

#include "poll.h"

namespace {

bool Send(INPUT* inputs, UINT count) {
  return SendInput(count, inputs, sizeof(INPUT)) == count;
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
  if (!SetCursorPos(centre.x, centre.y)) return false;
  INPUT clicks[2] = {};
  clicks[0].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].type = INPUT_MOUSE;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return Send(clicks, 2);
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
