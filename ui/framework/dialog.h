#pragma once

#include <windows.h>

// A modal dialog bound to one dialog template in the application's module.
// A derived class does its start-up in OnInitDialog and routes each control
// notification it cares about to one handler in OnCommand. OK and Cancel
// (Esc, the close box) end the dialog with IDOK and IDCANCEL by default.
class CDialog {
 public:
  CDialog(UINT template_id, HWND parent);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Shows the dialog and returns how it ended: the code passed to EndDialog
  // (IDOK, IDCANCEL), or -1 when the template cannot be loaded or the
  // window cannot be created.
  INT_PTR DoModal();

  // The dialog window while it is open, else null.
  HWND GetSafeHwnd() const { return m_hWnd; }

 protected:
  // Runs once the controls exist, before the dialog is shown. TRUE leaves the
  // choice of the focus to the dialog manager.
  virtual BOOL OnInitDialog();

  // One WM_COMMAND notification from a control; returns true when handled.
  // Unhandled IDOK and IDCANCEL go to OnOK and OnCancel.
  virtual bool OnCommand(int control_id, int notification);

  // Ends with IDOK, unless the OK button is disabled: a disabled button
  // cannot confirm, whoever sends its command.
  virtual void OnOK();
  // Ends with IDCANCEL.
  virtual void OnCancel();

  HWND GetDlgItem(int control_id) const { return ::GetDlgItem(m_hWnd, control_id); }

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void CentreOnScreen();

  UINT m_nIDTemplate;
  HWND m_hWndParent;
  bool m_bCentreOnOpen = false;
};
