#include "ui/framework/dialog.h"

#include "ui/framework/win_app.h"

namespace {

const LPCWSTR kDialogResource = MAKEINTRESOURCEW(5);  // RT_DIALOG

// Where a dialog template puts its window: the header fields that matter here.
struct TemplatePlacement {
  DWORD style = 0;
  short x = 0;
  short y = 0;
};

// Reads the placement from an extended (DLGTEMPLATEEX) or a classic
// (DLGTEMPLATE) template. False when the template is missing or too short.
bool ReadTemplatePlacement(HINSTANCE module, UINT template_id, TemplatePlacement* placement) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(template_id), kDialogResource);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes || SizeofResource(module, found) < 24) return false;

  auto word_at = [bytes](int offset) {
    return static_cast<WORD>(bytes[offset] | bytes[offset + 1] << 8);
  };
  const bool extended = word_at(0) == 1 && word_at(2) == 0xFFFF;
  const int style_at = extended ? 12 : 0;
  const int x_at = extended ? 18 : 10;
  placement->style = MAKELONG(word_at(style_at), word_at(style_at + 2));
  placement->x = static_cast<short>(word_at(x_at));
  placement->y = static_cast<short>(word_at(x_at + 2));
  return true;
}

}  // namespace

CDialog::CDialog(UINT template_id, HWND parent)
    : m_nIDTemplate(template_id), m_hWndParent(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  HINSTANCE module = AfxGetInstanceHandle();
  // A template left at 0,0 with no centring of its own would open in the
  // screen's corner.
  TemplatePlacement placement;
  m_bCentreOnOpen = ReadTemplatePlacement(module, m_nIDTemplate, &placement) &&
                    !(placement.style & (DS_CENTER | DS_ABSALIGN)) && placement.x == 0 &&
                    placement.y == 0;
  // The wide dialog function: the template's texts are UTF-16 already, and go
  // to the screen as they are, whatever the system's ANSI code page.
  return DialogBoxParamW(module, MAKEINTRESOURCEW(m_nIDTemplate), m_hWndParent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog() { return TRUE; }

bool CDialog::OnCommand(int, int) { return false; }

void CDialog::OnOK() {
  HWND ok = GetDlgItem(IDOK);
  if (ok && !IsWindowEnabled(ok)) return;
  EndDialog(m_hWnd, IDOK);
}

void CDialog::OnCancel() { EndDialog(m_hWnd, IDCANCEL); }

void CDialog::CentreOnScreen() {
  RECT window = {};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetWindowRect(m_hWnd, &window) ||
      !GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    return;
  }
  const RECT& area = monitor.rcWork;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    dialog->m_hWnd = window;
    // An owned dialog belongs beside its owner, wherever the template put it.
    if (dialog->m_bCentreOnOpen && !GetWindow(window, GW_OWNER)) dialog->CentreOnScreen();
    return dialog->OnInitDialog();
  }

  // Messages before WM_INITDIALOG have no dialog object yet.
  auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!dialog) return FALSE;

  switch (message) {
    case WM_COMMAND: {
      const int control_id = LOWORD(wparam);
      if (dialog->OnCommand(control_id, HIWORD(wparam))) return TRUE;
      if (control_id == IDOK) {
        dialog->OnOK();
        return TRUE;
      }
      if (control_id == IDCANCEL) {
        dialog->OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, DWLP_USER, 0);
      dialog->m_hWnd = nullptr;
      return FALSE;
  }
  return FALSE;
}
