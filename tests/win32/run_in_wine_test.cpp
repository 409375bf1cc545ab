// The whole run in-process with the real dialog and message box: only OK
// after ticking writes the registry and confirms; every other ending,
// including a dialog that cannot be created, is a quiet refusal.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/run_sequence.h"
#include "app/site_profile.h"
#include "dialog_driver.h"
#include "res/resource.h"

namespace {

// The title the framework takes from this executable's file name.
constexpr char kTestProgramTitle[] = "orvanta_win32_tests";

const std::string kDomainKey =
    std::string(kZoneMapRoot) + "\\" + kDomainsComponent + "\\" + kTargetDomain;

bool DomainIsTrusted() {
  DWORD zone = 0;
  DWORD size = sizeof(zone);
  return RegGetValueA(HKEY_CURRENT_USER, kDomainKey.c_str(), kZoneValueName, RRF_RT_REG_DWORD,
                      nullptr, &zone, &size) == ERROR_SUCCESS &&
         zone == kTrustedSitesZone;
}

// What a child window showed while its dialog was open.
struct ChildWindow {
  std::string window_class;
  std::string text;
  LONG style;
  int id;
  HICON icon;
};

std::vector<ChildWindow> Children(HWND parent) {
  std::vector<ChildWindow> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char window_class[64] = {};
    char text[512] = {};
    GetClassNameA(child, window_class, sizeof(window_class));
    GetWindowTextA(child, text, sizeof(text));
    const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    children.push_back(
        {window_class, text, GetWindowLongA(child, GWL_STYLE), GetDlgCtrlID(child), icon});
  }
  return children;
}

class RunInWine : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kDomainKey.c_str()); }
};

// Ticking and OK write the registry and end with the completion box: no owner,
// the program's title as caption, the completion text, the exclamation icon
// and an OK button only.
TEST_F(RunInWine, ConsentRegistersAndConfirms) {
  std::string caption;
  std::vector<ChildWindow> box_children;
  HWND box_owner = reinterpret_cast<HWND>(1);
  const auto tick_and_confirm = [](HWND dialog) {
    PostClick(dialog, IDC_AGREE_CHECK);
    PostClick(dialog, IDOK);
  };
  const auto read_and_close_box = [&](HWND box) {
    char text[256] = {};
    GetWindowTextA(box, text, sizeof(text));
    caption = text;
    box_owner = GetWindow(box, GW_OWNER);
    box_children = Children(box);
    PostKey(box, VK_RETURN);
  };
  DialogDriver driver(std::vector<DialogDriver::Script>{DialogDriver::Script(tick_and_confirm),
                                                        DialogDriver::Script(read_and_close_box)});

  EXPECT_EQ(RunOrvantaCtrl(), 0);
  EXPECT_EQ(driver.dialogs_seen(), 2u);
  EXPECT_TRUE(DomainIsTrusted());

  EXPECT_EQ(caption, kTestProgramTitle);
  EXPECT_EQ(box_owner, nullptr);
  const HICON exclamation = LoadIconA(nullptr, IDI_EXCLAMATION);
  int texts = 0, icons = 0, buttons = 0;
  for (const ChildWindow& child : box_children) {
    if (!(child.style & WS_VISIBLE)) continue;
    if (child.window_class == "Button") {
      ++buttons;
      EXPECT_EQ(child.id, IDOK);
    } else if ((child.style & SS_TYPEMASK) == SS_ICON) {
      ++icons;
      EXPECT_EQ(child.icon, exclamation);
    } else if (child.text == kCompletionText) {
      ++texts;
    }
  }
  EXPECT_EQ(texts, 1);
  EXPECT_EQ(icons, 1);
  EXPECT_EQ(buttons, 1);
}

// Closing the dialog, even ticked, changes nothing and shows nothing more.
TEST_F(RunInWine, ClosedDialogIsARefusal) {
  DialogDriver driver([](HWND dialog) {
    PostClick(dialog, IDC_AGREE_CHECK);
    PostCloseBox(dialog);
  });

  EXPECT_EQ(RunOrvantaCtrl(), 0);
  EXPECT_EQ(driver.dialogs_seen(), 1u);
  EXPECT_FALSE(DomainIsTrusted());
}

// A dialog that cannot be created (-1) is a refusal too: exit code 0, no
// change and no completion box.
TEST_F(RunInWine, DialogThatCannotBeCreatedIsARefusal) {
  WindowCreationRefusal refusal;

  EXPECT_EQ(RunOrvantaCtrl(), 0);
  EXPECT_EQ(refusal.refused(), 1);  // the consent dialog, and no completion box after it
  EXPECT_FALSE(DomainIsTrusted());
}

}  // namespace
