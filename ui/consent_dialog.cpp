#include "ui/consent_dialog.h"

#include <initializer_list>

#include "res/resource.h"
#include "ui/framework/client_dc.h"
#include "ui/framework/win_app.h"

namespace {

constexpr wchar_t kBoldFace[] = L"굴림";
constexpr int kBoldPoints = 10;
// The notice is at most 511 UTF-16 units (and 511 bytes in code page 949);
// the build checks both.
constexpr int kNoticeBufferSize = 512;

}  // namespace

COrvantaRegRequest::COrvantaRegRequest(HWND parent)
    : CDialog(IDD_CONSENT_DIALOG, parent), m_bAgree(0), m_hFont(nullptr) {}

COrvantaRegRequest::~COrvantaRegRequest() {
  m_bAgree = 0;
  // The windows that used the font are gone by now.
  if (m_hFont) {
    DeleteObject(m_hFont);
    m_hFont = nullptr;
  }
}

BOOL COrvantaRegRequest::OnInitDialog() {
  CDialog::OnInitDialog();

  // A 10-point bold face at the screen's resolution for the three controls
  // the user acts on or reads first. Without it they keep the template font.
  if (m_hFont) DeleteObject(m_hFont);  // left from an earlier DoModal
  m_hFont = nullptr;
  if (CClientDC dc(m_hWnd); dc.get()) {
    const int height = -MulDiv(kBoldPoints, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    m_hFont = CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, kBoldFace);
  }
  if (m_hFont) {
    for (const int control_id : {IDOK, IDC_AGREE_CHECK, IDC_TITLE_TEXT}) {
      SendMessageW(GetDlgItem(control_id), WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), 0);
    }
  }

  // Consent is never carried over: unticked and OK disabled, whatever the
  // template says.
  CheckDlgButton(m_hWnd, IDC_AGREE_CHECK, BST_UNCHECKED);
  OnBnClickedAgree();

  // A missing string leaves the notice empty rather than showing the placeholder.
  wchar_t notice[kNoticeBufferSize] = {};
  LoadStringW(AfxGetInstanceHandle(), IDS_NOTICE, notice, kNoticeBufferSize);
  SetWindowTextW(GetDlgItem(IDC_NOTICE_TEXT), notice);

  return TRUE;
}

bool COrvantaRegRequest::OnCommand(int control_id, int notification) {
  switch (control_id) {
    case IDC_AGREE_CHECK:
      if (notification != BN_CLICKED) return false;
      OnBnClickedAgree();
      return true;
  }
  return false;
}

// The box toggles itself; this only follows it.
void COrvantaRegRequest::OnBnClickedAgree() {
  m_bAgree = IsDlgButtonChecked(m_hWnd, IDC_AGREE_CHECK) == BST_CHECKED ? 1 : 0;
  EnableWindow(GetDlgItem(IDOK), m_bAgree);
}
