#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

// Acts on the dialogs this thread opens next, one script per dialog, from
// inside each dialog's own modal loop, as a person at the keyboard would.
// `prepare` runs just before the dialog procedure gets WM_INITDIALOG;
// `act` runs once the dialog is up and its queue is empty. A dialog still
// open after `act` and everything it posted (and any dialog beyond the
// scripts) is ended with kGaveUp, so a broken dialog fails its test instead
// of hanging it.
class DialogDriver {
 public:
  using Step = std::function<void(HWND dialog)>;
  struct Script {
    Script(Step act_on_dialog, Step prepare_dialog = nullptr)
        : act(std::move(act_on_dialog)), prepare(std::move(prepare_dialog)) {}
    Step act;
    Step prepare;
  };
  static constexpr INT_PTR kGaveUp = 0x6A6A;

  explicit DialogDriver(std::vector<Script> scripts);
  // One script for the next dialog; with no `act` the dialog is only watched.
  explicit DialogDriver(Step act, Step prepare = nullptr)
      : DialogDriver(std::vector<Script>{Script(std::move(act), std::move(prepare))}) {}
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Dialogs that reached WM_INITDIALOG while the driver was installed.
  std::size_t dialogs_seen() const { return dialogs_seen_; }

 private:
  static LRESULT CALLBACK BeforeWindowProc(int code, WPARAM wparam, LPARAM lparam);
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Begin(HWND dialog);
  void Tick();
  void StopTimer();

  std::vector<Script> scripts_;
  std::size_t dialogs_seen_ = 0;
  HWND dialog_ = nullptr;
  Step act_;
  bool acted_ = false;
  UINT_PTR timer_ = 0;
  HHOOK hook_ = nullptr;
};

// While it lives, every dialog window this thread tries to create is refused,
// as when the system cannot make the window.
class WindowCreationRefusal {
 public:
  WindowCreationRefusal();
  ~WindowCreationRefusal();
  WindowCreationRefusal(const WindowCreationRefusal&) = delete;
  WindowCreationRefusal& operator=(const WindowCreationRefusal&) = delete;

  int refused() const;

 private:
  static LRESULT CALLBACK BeforeCreation(int code, WPARAM wparam, LPARAM lparam);

  HHOOK hook_ = nullptr;
};

// Keyboard and mouse as the dialog manager sees them, posted so that they
// are handled in order by the dialog's own loop.
void PostClick(HWND dialog, int control_id);
void PostKey(HWND dialog, UINT virtual_key);
void PostCloseBox(HWND dialog);

// A control's state, read synchronously.
bool IsTicked(HWND dialog, int control_id);
bool IsEnabled(HWND dialog, int control_id);
