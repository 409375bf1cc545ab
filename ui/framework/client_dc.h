#pragma once

#include <windows.h>

// The device context of a window's client area, released when it goes.
class CClientDC {
 public:
  explicit CClientDC(HWND window) : m_hWnd(window), m_hDC(GetDC(window)) {}
  ~CClientDC() {
    if (m_hDC) ReleaseDC(m_hWnd, m_hDC);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;

  // Null when the window has no device context to give.
  HDC get() const { return m_hDC; }

 private:
  HWND m_hWnd;
  HDC m_hDC;
};
