#pragma once

#include <windows.h>

// Every wait of the driver: ask again and again until the answer is yes or the
// time is up. A pause between questions is the only sleep there is.
template <typename Condition>
bool PollUntil(DWORD timeout_ms, Condition holds) {
  constexpr DWORD kPollIntervalMs = 25;
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (holds()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(kPollIntervalMs);
  }
}
