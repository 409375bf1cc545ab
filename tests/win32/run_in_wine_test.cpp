// The whole run in-process with the real dialog and message box: only OK
// after ticking writes the registry and confirms; a registration that did
// not take effect is reported; every other ending, including a dialog that
// cannot be created, is a quiet refusal.
#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/run_sequence.h"
#include "app/site_profile.h"
#include "dialog_driver.h"
#include "res/resource.h"

namespace {

// The title the framework takes from this executable's file name.
constexpr wchar_t kTestProgramTitle[] = L"orvanta_win32_tests";

const std::string kDomainsKey = std::string(kZoneMapRoot) + "\\" + kDomainsComponent;
const std::string kDomainKey = kDomainsKey + "\\" + kTargetDomain;

bool DomainIsTrusted() {
  DWORD zone = 0;
  DWORD size = sizeof(zone);
  return RegGetValueA(HKEY_CURRENT_USER, kDomainKey.c_str(), kZoneValueName, RRF_RT_REG_DWORD,
                      nullptr, &zone, &size) == ERROR_SUCCESS &&
         zone == kTrustedSitesZone;
}

// What a child window showed while its dialog was open.
struct ChildWindow {
  std::wstring window_class;
  std::wstring text;
  LONG style;
  int id;
  HICON icon;
};

std::vector<ChildWindow> Children(HWND parent) {
  std::vector<ChildWindow> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t window_class[64] = {};
    wchar_t text[512] = {};
    GetClassNameW(child, window_class, static_cast<int>(std::size(window_class)));
    GetWindowTextW(child, text, static_cast<int>(std::size(text)));
    const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    children.push_back(
        {window_class, text, GetWindowLongW(child, GWL_STYLE), GetDlgCtrlID(child), icon});
  }
  return children;
}

// What a message box showed: caption, owner and controls.
struct BoxSeen {
  std::wstring caption;
  HWND owner = reinterpret_cast<HWND>(1);
  std::vector<ChildWindow> children;
};

// Scripts for a consented run: tick and confirm, then read and close the box.
std::vector<DialogDriver::Script> ConsentAndReadBox(BoxSeen* box_seen) {
  const auto tick_and_confirm = [](HWND dialog) {
    PostClick(dialog, IDC_AGREE_CHECK);
    PostClick(dialog, IDOK);
  };
  const auto read_and_close_box = [box_seen](HWND box) {
    wchar_t text[256] = {};
    GetWindowTextW(box, text, static_cast<int>(std::size(text)));
    box_seen->caption = text;
    box_seen->owner = GetWindow(box, GW_OWNER);
    box_seen->children = Children(box);
    PostKey(box, VK_RETURN);
  };
  return {DialogDriver::Script(tick_and_confirm), DialogDriver::Script(read_and_close_box)};
}

// The box has no owner, the program's title as caption, `text`, `icon` and
// an OK button only.
void ExpectBox(const BoxSeen& box, const char16_t* text, int icon_id) {
  EXPECT_EQ(box.caption, kTestProgramTitle);
  EXPECT_EQ(box.owner, nullptr);
  const HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(icon_id));
  const std::wstring wanted_text(reinterpret_cast<const wchar_t*>(text));
  int texts = 0, icons = 0, buttons = 0;
  for (const ChildWindow& child : box.children) {
    if (!(child.style & WS_VISIBLE)) continue;
    if (child.window_class == L"Button") {
      ++buttons;
      EXPECT_EQ(child.id, IDOK);
    } else if ((child.style & SS_TYPEMASK) == SS_ICON) {
      ++icons;
      EXPECT_EQ(child.icon, icon);
    } else if (child.text == wanted_text) {
      ++texts;
    }
  }
  EXPECT_EQ(texts, 1);
  EXPECT_EQ(icons, 1);
  EXPECT_EQ(buttons, 1);
}

class RunInWine : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kDomainKey.c_str());
    HKEY domains = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kDomainsKey.c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                    &domains, nullptr);
    if (domains) RegCloseKey(domains);
  }
};

// Ticking and OK write the registry and end with the completion box and the
// exclamation icon.
TEST_F(RunInWine, ConsentRegistersAndConfirms) {
  BoxSeen box;
  DialogDriver driver(ConsentAndReadBox(&box));

  EXPECT_EQ(RunOrvantaCtrl(), kExitDone);
  EXPECT_EQ(driver.dialogs_seen(), 2u);
  EXPECT_TRUE(DomainIsTrusted());
  ExpectBox(box, kCompletionText, 32515);  // IDI_EXCLAMATION
}

// Consent on a profile without a Domains key cannot trust the site: the box
// says so with the stop icon, and the exit code is 2.
TEST_F(RunInWine, RegistrationThatDidNotTakeEffectIsReported) {
  ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kDomainsKey.c_str()), ERROR_SUCCESS);
  BoxSeen box;
  DialogDriver driver(ConsentAndReadBox(&box));

  EXPECT_EQ(RunOrvantaCtrl(), kExitNotRegistered);
  EXPECT_EQ(driver.dialogs_seen(), 2u);
  EXPECT_FALSE(DomainIsTrusted());
  ExpectBox(box, kFailureText, 32513);  // IDI_HAND, the stop icon
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
