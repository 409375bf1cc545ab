// Our dialog framework inside Wine, on a plain dialog of its own: the default
// endings, where a dialog opens and what a missing template gives.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_driver.h"
#include "test_dialogs.h"
#include "ui/framework/dialog.h"

namespace {

class TestDialog : public CDialog {
 public:
  explicit TestDialog(UINT template_id) : CDialog(template_id, nullptr) {}
};

INT_PTR ShowTestDialog(UINT template_id, DialogDriver::Step act) {
  DialogDriver driver(std::move(act));
  TestDialog dialog(template_id);
  return dialog.DoModal();
}

// With no handler of its own, OK ends a dialog with IDOK and Esc or the
// close box with IDCANCEL.
TEST(DialogFramework, DefaultEndings) {
  const struct {
    const char* name;
    void (*end)(HWND dialog);
    INT_PTR result;
  } cases[] = {
      {"OK clicked", [](HWND dialog) { PostClick(dialog, IDOK); }, IDOK},
      {"Esc", [](HWND dialog) { PostKey(dialog, VK_ESCAPE); }, IDCANCEL},
      {"close box", [](HWND dialog) { PostCloseBox(dialog); }, IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ShowTestDialog(IDD_PLACED_TEST_DIALOG, c.end), c.result);
  }
}

// A template that gives its own position keeps it: only templates left at
// 0,0 are centred.
TEST(DialogFramework, PlacedTemplateKeepsItsPlace) {
  POINT client_origin = {};
  RECT template_place = {40, 30, 0, 0};
  ShowTestDialog(IDD_PLACED_TEST_DIALOG, [&](HWND dialog) {
    ClientToScreen(dialog, &client_origin);
    MapDialogRect(dialog, &template_place);
    PostKey(dialog, VK_ESCAPE);
  });

  EXPECT_EQ(client_origin.x, template_place.left);
  EXPECT_EQ(client_origin.y, template_place.top);
}

// The -1 of a dialog that cannot be loaded reaches the caller.
TEST(DialogFramework, MissingTemplateGivesMinusOne) {
  DialogDriver driver(nullptr);
  TestDialog dialog(IDD_MISSING_TEST_DIALOG);

  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(driver.dialogs_seen(), 0u);
}

}  // namespace
