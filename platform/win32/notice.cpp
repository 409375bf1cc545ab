#include "platform/notice.h"

#include "ui/framework/win_app.h"

namespace {

// char16_t and wchar_t are both UTF-16 on Windows.
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

void ShowCompletionNotice(const char16_t* text) { AfxMessageBox(Wide(text), MB_OK, 0); }

void ShowFailureNotice(const char16_t* text) { AfxMessageBox(Wide(text), MB_OK | MB_ICONSTOP, 0); }
