#pragma once

#include <windows.h>

#include "ui/framework/dialog.h"

// Explains what the program is about to change and asks the user to agree.
// OK is enabled exactly while the agree box is ticked, and the box starts
// unticked, so OK cannot be pressed without ticking it first. DoModal gives
// IDOK, IDCANCEL (Esc, the close box) or -1 (the dialog could not be made).
class COrvantaRegRequest : public CDialog {
 public:
  explicit COrvantaRegRequest(HWND parent);
  ~COrvantaRegRequest() override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int control_id, int notification) override;

 private:
  void OnBnClickedAgree();

  BOOL m_bAgree;  // the agree box as last seen: 1 ticked, 0 not
  HFONT m_hFont;  // bold font of OK, the agree box and the title; ours, not the window's
};
