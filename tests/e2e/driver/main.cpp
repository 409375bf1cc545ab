// Stands in for the person in front of OrvantaCtrl: started beside it in the
// same Wine prefix, it follows the steps given on its command line, one at a
// time, and prints what it saw as "key=value" lines for the harness.
//
//   orvanta_e2e_driver [--program NAME.exe] [--wait-ms N] [--shots DIR] STEP...
//
// Steps (ID is a control id of the window found last):
//   find-dialog        wait for the program's consent dialog (it has the agree box)
//   find-notice        wait for the program's other dialog window (the message box)
//   read:LABEL         print caption, placement and every control as LABEL.*
//   icon:LABEL         print LABEL.icon, the standard icon the window shows
//   tick:ID untick:ID  BM_CLICK the check box, then wait until it shows that state
//   mouse-tick:ID mouse-untick:ID   the same with a real mouse click
//   press:ID           BM_CLICK a button
//   mouse-click:ID     a real mouse click on a control; waits for nothing
//   key:esc key:enter  a real key press with the window in front
//   close              the close box (WM_SYSCOMMAND SC_CLOSE)
//   wait-gone          wait until the window found last has gone
//   wait-start         wait until the program is running; it is started
//                      after the driver, so a first wait-exit would not wait
//   wait-exit          wait until the program has ended; any window of it
//                      that shows up meanwhile is an error
//   shot:NAME          ask the harness for a screenshot and wait until it is taken
//
// It first prints "driver=ready". Every wait has a deadline; a step that
// cannot be done prints "error=..." and the driver ends with exit code 1.
// After the last step it prints "done=1".

#include <windows.h>

#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "output.h"
#include "person.h"
#include "poll.h"
#include "program_windows.h"
#include "window_report.h"

namespace {

// The agree check box: only the consent dialog has a control with this id.
constexpr int kAgreeCheckId = 1002;

struct Session {
  std::wstring program = L"OrvantaCtrl.exe";
  DWORD wait_ms = 10000;
  std::wstring shots_dir;
  HWND window = nullptr;
};

// A step's outcome: empty when it was done, otherwise why it could not be.
using Failure = std::string;

std::string Millis(DWORD ms) { return std::to_string(ms) + " ms"; }

// The control `argument` names on the window found last, or null with `failure` set.
HWND Control(const Session& session, const std::wstring& argument, Failure* failure) {
  if (!session.window) {
    *failure = "no window found yet";
    return nullptr;
  }
  wchar_t* end = nullptr;
  const long id = std::wcstol(argument.c_str(), &end, 10);
  if (argument.empty() || *end != L'\0') {
    *failure = "not a control id: " + Narrow(argument);
    return nullptr;
  }
  HWND control = ControlOf(session.window, static_cast<int>(id));
  if (!control) *failure = "the window has no control " + std::to_string(id);
  return control;
}

HWND FindProgramDialog(const Session& session, bool consent_dialog) {
  HWND found = nullptr;
  PollUntil(session.wait_ms, [&] {
    for (HWND window : DialogWindowsOfProgram(session.program)) {
      if ((ControlOf(window, kAgreeCheckId) != nullptr) == consent_dialog) {
        found = window;
        return true;
      }
    }
    return false;
  });
  return found;
}

Failure FindDialog(Session& session, const std::wstring&) {
  session.window = FindProgramDialog(session, true);
  if (!session.window)
    return "no consent dialog of " + Utf8(session.program) + " appeared within " + Millis(session.wait_ms);
  return {};
}

Failure FindNotice(Session& session, const std::wstring&) {
  session.window = FindProgramDialog(session, false);
  if (!session.window)
    return "no message box of " + Utf8(session.program) + " appeared within " + Millis(session.wait_ms);
  return {};
}

Failure Read(Session& session, const std::wstring& label) {
  if (!session.window) return "no window found yet";
  if (!ReportWindow(Narrow(label), session.window)) return "the window is gone or does not answer";
  return {};
}

Failure Icon(Session& session, const std::wstring& label) {
  if (!session.window) return "no window found yet";
  std::string icon;
  // The box may not have painted yet when it is first found.
  PollUntil(session.wait_ms, [&] {
    icon = RecognizeStandardIcon(session.window);
    return !icon.empty();
  });
  Emit(Narrow(label) + ".icon", icon);
  return {};
}

bool CheckStateBecomes(HWND check_box, DWORD wait_ms, LRESULT wanted) {
  return PollUntil(wait_ms, [&] {
    DWORD_PTR state = 0;
    return SendMessageTimeoutW(check_box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &state) &&
           static_cast<LRESULT>(state) == wanted;
  });
}

Failure ClickButton(HWND button) {
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored))
    return "the button did not answer BM_CLICK";
  return {};
}

Failure SetCheck(Session& session, const std::wstring& argument, bool by_mouse, LRESULT wanted) {
  Failure failure;
  HWND check_box = Control(session, argument, &failure);
  if (!check_box) return failure;
  if (by_mouse) {
    if (!ClickCentreOf(check_box)) return "the mouse click could not be sent";
  } else {
    failure = ClickButton(check_box);
    if (!failure.empty()) return failure;
  }
  if (!CheckStateBecomes(check_box, session.wait_ms, wanted))
    return "check box " + Narrow(argument) + " did not become " + (wanted ? "ticked" : "unticked");
  return {};
}

Failure Press(Session& session, const std::wstring& argument) {
  Failure failure;
  HWND button = Control(session, argument, &failure);
  return button ? ClickButton(button) : failure;
}

Failure MouseClick(Session& session, const std::wstring& argument) {
  Failure failure;
  HWND control = Control(session, argument, &failure);
  if (!control) return failure;
  if (!ClickCentreOf(control)) return "the mouse click could not be sent";
  return {};
}

Failure Key(Session& session, const std::wstring& name) {
  static const std::map<std::wstring, WORD> kKeys = {{L"esc", VK_ESCAPE}, {L"enter", VK_RETURN}};
  const auto key = kKeys.find(name);
  if (key == kKeys.end()) return "unknown key: " + Narrow(name);
  if (!session.window) return "no window found yet";
  if (!BringToFront(session.window, session.wait_ms)) return "the window could not be brought to the front";
  if (!PressKey(key->second)) return "the key press could not be sent";
  return {};
}

Failure Close(Session& session, const std::wstring&) {
  if (!session.window) return "no window found yet";
  if (!PostMessageW(session.window, WM_SYSCOMMAND, SC_CLOSE, 0)) return "the close request could not be posted";
  return {};
}

Failure WaitGone(Session& session, const std::wstring&) {
  if (!session.window) return "no window found yet";
  const HWND window = session.window;
  if (!PollUntil(session.wait_ms, [window] { return !IsWindow(window) || !IsWindowVisible(window); }))
    return "the window was still open after " + Millis(session.wait_ms);
  return {};
}

Failure WaitStart(Session& session, const std::wstring&) {
  // Polled like every wait, so a program that came and went between two polls
  // would be missed; but even a run that ends at once stays in the process
  // list for some 300 ms or more under Wine, a dozen polls of 25 ms.
  if (!PollUntil(session.wait_ms, [&] { return ProgramIsRunning(session.program); }))
    return "the program was not running within " + Millis(session.wait_ms);
  return {};
}

Failure WaitExit(Session& session, const std::wstring&) {
  std::vector<HWND> windows;
  const bool settled = PollUntil(session.wait_ms, [&] {
    windows = DialogWindowsOfProgram(session.program);
    return !windows.empty() || !ProgramIsRunning(session.program);
  });
  if (!windows.empty()) {
    ReportWindow("unexpected", windows.front());
    return "the program showed another window instead of ending";
  }
  if (!settled) return "the program was still running after " + Millis(session.wait_ms);
  return {};
}

Failure Shot(Session& session, const std::wstring& name) {
  if (session.shots_dir.empty()) {
    Emit("shot." + Narrow(name), "off");
    return {};
  }
  const std::wstring base = session.shots_dir + L"\\" + name;
  HANDLE request = CreateFileW((base + L".want").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (request == INVALID_HANDLE_VALUE) return "could not ask for screenshot " + Narrow(name);
  CloseHandle(request);
  const std::wstring picture = base + L".png";
  if (!PollUntil(session.wait_ms,
                 [&] { return GetFileAttributesW(picture.c_str()) != INVALID_FILE_ATTRIBUTES; }))
    return "screenshot " + Narrow(name) + " was not taken within " + Millis(session.wait_ms);
  Emit("shot." + Narrow(name), "taken");
  return {};
}

using StepAction = std::function<Failure(Session&, const std::wstring&)>;

const std::map<std::wstring, StepAction>& Steps() {
  static const std::map<std::wstring, StepAction> kSteps = {
      {L"find-dialog", FindDialog},
      {L"find-notice", FindNotice},
      {L"read", Read},
      {L"icon", Icon},
      {L"tick", [](Session& s, const std::wstring& a) { return SetCheck(s, a, false, BST_CHECKED); }},
      {L"untick", [](Session& s, const std::wstring& a) { return SetCheck(s, a, false, BST_UNCHECKED); }},
      {L"mouse-tick", [](Session& s, const std::wstring& a) { return SetCheck(s, a, true, BST_CHECKED); }},
      {L"mouse-untick", [](Session& s, const std::wstring& a) { return SetCheck(s, a, true, BST_UNCHECKED); }},
      {L"press", Press},
      {L"mouse-click", MouseClick},
      {L"key", Key},
      {L"close", Close},
      {L"wait-gone", WaitGone},
      {L"wait-start", WaitStart},
      {L"wait-exit", WaitExit},
      {L"shot", Shot},
  };
  return kSteps;
}

Failure RunStep(Session& session, const std::wstring& step) {
  const std::size_t colon = step.find(L':');
  const std::wstring verb = step.substr(0, colon);
  const std::wstring argument = colon == std::wstring::npos ? L"" : step.substr(colon + 1);
  const auto action = Steps().find(verb);
  if (action == Steps().end()) return "unknown step";
  return action->second(session, argument);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Tells the harness that this prefix's wineserver is up, so the program
  // can be started beside the driver without racing it to start the server.
  Emit("driver", "ready");
  Session session;
  int first_step = 1;
  for (; first_step + 1 < argc && argv[first_step][0] == L'-'; first_step += 2) {
    const std::wstring option = argv[first_step];
    const std::wstring value = argv[first_step + 1];
    if (option == L"--program") {
      session.program = value;
    } else if (option == L"--wait-ms") {
      session.wait_ms = static_cast<DWORD>(std::wcstoul(value.c_str(), nullptr, 10));
    } else if (option == L"--shots") {
      session.shots_dir = value;
    } else {
      Emit("error", "unknown option " + Narrow(option));
      return 2;
    }
  }
  for (int i = first_step; i < argc; ++i) {
    Emit("step", Narrow(argv[i]));
    const Failure failure = RunStep(session, argv[i]);
    if (!failure.empty()) {
      Emit("error", failure);
      return 1;
    }
  }
  Emit("done", "1");
  return 0;
}
