#include "dialog_driver.h"

#include <cstring>
#include <utility>

namespace {

// Hook and timer callbacks carry no context; one driver per thread at a time.
thread_local DialogDriver* t_driver = nullptr;
thread_local int t_refused_dialogs = 0;

constexpr char kDialogClass[] = "#32770";

}  // namespace

DialogDriver::DialogDriver(std::vector<Script> scripts) : scripts_(std::move(scripts)) {
  t_driver = this;
  hook_ = SetWindowsHookExA(WH_CALLWNDPROC, BeforeWindowProc, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
  StopTimer();
  if (hook_) UnhookWindowsHookEx(hook_);
  t_driver = nullptr;
}

LRESULT CALLBACK DialogDriver::BeforeWindowProc(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && t_driver) t_driver->Begin(call->hwnd);
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void DialogDriver::Begin(HWND dialog) {
  StopTimer();
  const std::size_t index = dialogs_seen_++;
  dialog_ = dialog;
  act_ = index < scripts_.size() ? scripts_[index].act : Step();
  acted_ = false;
  if (index < scripts_.size() && scripts_[index].prepare) scripts_[index].prepare(dialog);
  // A thread timer fires only when the queue holds nothing else, so the
  // dialog is shown and idle by then.
  timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTimer);
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (t_driver) t_driver->Tick();
}

void DialogDriver::Tick() {
  if (!IsWindow(dialog_)) {
    StopTimer();
    return;
  }
  if (!acted_) {
    acted_ = true;
    if (act_) act_(dialog_);
    return;
  }
  StopTimer();
  EndDialog(dialog_, kGaveUp);
}

void DialogDriver::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
}

WindowCreationRefusal::WindowCreationRefusal() {
  t_refused_dialogs = 0;
  hook_ = SetWindowsHookExA(WH_CBT, BeforeCreation, nullptr, GetCurrentThreadId());
}

WindowCreationRefusal::~WindowCreationRefusal() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

int WindowCreationRefusal::refused() const { return t_refused_dialogs; }

LRESULT CALLBACK WindowCreationRefusal::BeforeCreation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    char window_class[sizeof(kDialogClass) + 1] = {};
    GetClassNameA(reinterpret_cast<HWND>(wparam), window_class, sizeof(window_class));
    if (std::strcmp(window_class, kDialogClass) == 0) {
      ++t_refused_dialogs;
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void PostClick(HWND dialog, int control_id) {
  PostMessageA(GetDlgItem(dialog, control_id), BM_CLICK, 0, 0);
}

// The dialog manager takes keys addressed to the dialog itself.
void PostKey(HWND dialog, UINT virtual_key) {
  PostMessageA(dialog, WM_KEYDOWN, virtual_key, 1);
  PostMessageA(dialog, WM_KEYUP, virtual_key, 0xC0000001);
}

void PostCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool IsTicked(HWND dialog, int control_id) {
  return IsDlgButtonChecked(dialog, control_id) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int control_id) {
  return IsWindowEnabled(GetDlgItem(dialog, control_id)) != FALSE;
}
