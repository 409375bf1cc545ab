#pragma once

#include <windows.h>

#include <cstdint>

// Provisional until the consent dialog exists: it cannot be created yet, so
// every run ends as a refusal.
class COrvantaRegRequest {
 public:
  explicit COrvantaRegRequest(HWND parent) : m_hParent(parent) {}
  std::intptr_t DoModal() { return -1; }

 private:
  HWND m_hParent;
};
