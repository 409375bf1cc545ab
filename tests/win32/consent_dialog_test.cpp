// The consent dialog inside Wine, in-process: OK gated by the agree box, how
// the dialog ends, its fonts, its notice and where it opens.
#include "ui/consent_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "dialog_driver.h"
#include "expected_texts.h"
#include "res/resource.h"

namespace {

// Shows a fresh dialog, runs `act` on it once it is up, returns DoModal's result.
INT_PTR ShowDialog(DialogDriver::Step act, DialogDriver::Step prepare = nullptr) {
  DialogDriver driver(std::move(act), std::move(prepare));
  COrvantaRegRequest dialog(nullptr);
  return dialog.DoModal();
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

// The dialog's controls in creation order, which is the template's order.
std::vector<HWND> Controls(HWND dialog) {
  std::vector<HWND> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    controls.push_back(child);
  }
  return controls;
}

LOGFONTW FontOf(HFONT font) {
  LOGFONTW description = {};
  GetObjectW(font, sizeof(description), &description);
  return description;
}

HFONT FontOfWindow(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// Consent is never carried over: the box is unticked and OK disabled when the
// dialog opens, even if the box was ticked before the start-up code ran.
TEST(ConsentDialog, OpensUntickedWithOkDisabled) {
  for (const bool ticked_before_start_up : {false, true}) {
    SCOPED_TRACE(ticked_before_start_up ? "ticked before start-up" : "as the template has it");
    bool ticked = true;
    bool ok_enabled = true;
    const INT_PTR result = ShowDialog(
        [&](HWND dialog) {
          ticked = IsTicked(dialog, IDC_AGREE_CHECK);
          ok_enabled = IsEnabled(dialog, IDOK);
          PostKey(dialog, VK_ESCAPE);
        },
        [&](HWND dialog) {
          if (ticked_before_start_up) CheckDlgButton(dialog, IDC_AGREE_CHECK, BST_CHECKED);
        });

    EXPECT_FALSE(ticked);
    EXPECT_FALSE(ok_enabled);
    EXPECT_EQ(result, IDCANCEL);
  }
}

// OK is enabled exactly while the box is ticked, through every click.
TEST(ConsentDialog, OkFollowsTheAgreeBox) {
  std::vector<std::pair<bool, bool>> after_each_click;  // (ticked, OK enabled)
  ShowDialog([&](HWND dialog) {
    for (int click = 0; click < 3; ++click) {
      SendMessageA(GetDlgItem(dialog, IDC_AGREE_CHECK), BM_CLICK, 0, 0);
      after_each_click.emplace_back(IsTicked(dialog, IDC_AGREE_CHECK), IsEnabled(dialog, IDOK));
    }
    PostKey(dialog, VK_ESCAPE);
  });

  EXPECT_EQ(after_each_click,
            (std::vector<std::pair<bool, bool>>{{true, true}, {false, false}, {true, true}}));
}

enum Input { kClickAgree, kClickOk, kOkCommand, kCancelCommand, kEsc, kEnter, kCloseBox };

void Send(HWND dialog, Input input) {
  switch (input) {
    case kClickAgree:
      PostClick(dialog, IDC_AGREE_CHECK);
      break;
    case kClickOk:
      PostClick(dialog, IDOK);
      break;
    case kOkCommand:
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      break;
    case kCancelCommand:
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      break;
    case kEsc:
      PostKey(dialog, VK_ESCAPE);
      break;
    case kEnter:
      PostKey(dialog, VK_RETURN);
      break;
    case kCloseBox:
      PostCloseBox(dialog);
      break;
  }
}

// Only OK after ticking gives IDOK; Esc and the close box give IDCANCEL in
// either state, and OK cannot be used while the box is unticked.
TEST(ConsentDialog, EndsWithIdokOnlyFromOkAfterTicking) {
  const struct {
    const char* name;
    std::vector<Input> inputs;
    INT_PTR result;
  } cases[] = {
      {"OK clicked after ticking", {kClickAgree, kClickOk}, IDOK},
      {"Enter after ticking", {kClickAgree, kEnter}, IDOK},
      {"Esc after ticking", {kClickAgree, kEsc}, IDCANCEL},
      {"close box after ticking", {kClickAgree, kCloseBox}, IDCANCEL},
      {"IDCANCEL command after ticking", {kClickAgree, kCancelCommand}, IDCANCEL},
      {"close box unticked", {kCloseBox}, IDCANCEL},
      {"OK clicked unticked, then Esc", {kClickOk, kEsc}, IDCANCEL},
      {"IDOK command unticked, then Esc", {kOkCommand, kEsc}, IDCANCEL},
      {"Enter unticked, then Esc", {kEnter, kEsc}, IDCANCEL},
      {"ticked, unticked, OK clicked, then Esc",
       {kClickAgree, kClickAgree, kClickOk, kEsc},
       IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ShowDialog([&](HWND dialog) {
                for (const Input input : c.inputs) Send(dialog, input);
              }),
              c.result);
  }
}

// OK, the agree box and the title carry one bold 10-point Gulim font; the
// group box, the icon and the notice keep the template's font.
TEST(ConsentDialog, BoldFontOnOkAgreeBoxAndTitleOnly) {
  bool checked = false;
  ShowDialog([&](HWND dialog) {
    checked = true;
    const HFONT template_font = FontOfWindow(dialog);
    int pixels_per_inch = 0;
    if (HDC dc = GetDC(dialog)) {
      pixels_per_inch = GetDeviceCaps(dc, LOGPIXELSY);
      ReleaseDC(dialog, dc);
    }
    const HFONT bold = FontOfWindow(GetDlgItem(dialog, IDOK));
    ASSERT_NE(bold, nullptr);
    ASSERT_NE(bold, template_font);

    const LOGFONTW made = FontOf(bold);
    EXPECT_EQ(made.lfHeight, -MulDiv(10, pixels_per_inch, 72));
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_EQ(std::wstring(made.lfFaceName), kBoldFaceName);
    EXPECT_FALSE(made.lfItalic);
    EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(made.lfPitchAndFamily, DEFAULT_PITCH | FF_SWISS);
    EXPECT_EQ(FontOf(template_font).lfWeight, FW_NORMAL);

    // In template order. An icon static keeps no font at all.
    const std::vector<HWND> controls = Controls(dialog);
    const std::vector<std::pair<int, HFONT>> expected = {
        {IDOK, bold},  {IDC_GROUP_FRAME, template_font}, {IDC_AGREE_CHECK, bold},
        {-1, nullptr}, {IDC_TITLE_TEXT, bold},           {IDC_NOTICE_TEXT, template_font},
    };
    ASSERT_EQ(controls.size(), expected.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
      SCOPED_TRACE("control " + std::to_string(expected[i].first));
      EXPECT_EQ(static_cast<int>(GetDlgCtrlID(controls[i])), expected[i].first);
      EXPECT_EQ(FontOfWindow(controls[i]), expected[i].second);
    }
    PostKey(dialog, VK_ESCAPE);
  });
  EXPECT_TRUE(checked);
}

// The font belongs to the dialog object, not to its window: it outlives the
// window and goes with the object.
TEST(ConsentDialog, ObjectDeletesItsFont) {
  HFONT bold = nullptr;
  {
    DialogDriver driver([&](HWND dialog) {
      bold = FontOfWindow(GetDlgItem(dialog, IDOK));
      PostKey(dialog, VK_ESCAPE);
    });
    COrvantaRegRequest dialog(nullptr);
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(GetObjectType(bold), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_EQ(GetObjectType(bold), 0u);
}

// The notice control shows the notice with the registered pattern, not the
// template's placeholder; the caption is the dialog's title.
TEST(ConsentDialog, ShowsTheNoticeAndCaption) {
  std::wstring notice;
  std::wstring caption;
  ShowDialog([&](HWND dialog) {
    notice = WindowText(GetDlgItem(dialog, IDC_NOTICE_TEXT));
    caption = WindowText(dialog);
    PostKey(dialog, VK_ESCAPE);
  });

  EXPECT_EQ(notice, ExpectedNotice());
  EXPECT_EQ(caption, kDialogCaption);
}

// The template sits at 0,0 and has no owner: the dialog opens in the middle
// of the screen's work area, not in its corner.
TEST(ConsentDialog, OpensCentredOnTheWorkArea) {
  RECT window = {};
  RECT area = {};
  ShowDialog([&](HWND dialog) {
    GetWindowRect(dialog, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    PostKey(dialog, VK_ESCAPE);
  });

  ASSERT_GT(window.right - window.left, 0);
  EXPECT_LE(std::abs((window.left + window.right) - (area.left + area.right)), 1);
  EXPECT_LE(std::abs((window.top + window.bottom) - (area.top + area.bottom)), 1);
}

// A dialog whose window cannot be made reports -1, not a choice of the user.
TEST(ConsentDialog, WindowThatCannotBeCreatedGivesMinusOne) {
  DialogDriver driver(nullptr);
  WindowCreationRefusal refusal;
  COrvantaRegRequest dialog(nullptr);

  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(refusal.refused(), 1);
  EXPECT_EQ(driver.dialogs_seen(), 0u);
}

}  // namespace
