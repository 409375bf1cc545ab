#include "registry/trusted_zone_actions.h"

#include <optional>

#include "stand_in_test.h"

namespace {

struct ActionCase {
  const char* label;
  const char* name;
  std::optional<RegValue> stored;
  std::optional<RegValue> expected;
};

void PrintTo(const ActionCase& row, std::ostream* out) { *out << row.label; }

class TrustedZoneActionTest : public StandInTest,
                              public ::testing::WithParamInterface<ActionCase> {
 protected:
  void AdjustZone() {
    RegistryKey key;
    ASSERT_EQ(key.Open(kCurrentUser, kZones2.c_str(), kValueRights), kRegSuccess);
    AdjustTrustedZoneActions(key);
  }
};

// Each URL action is set to its policy only when it exists as a REG_DWORD
// with other data; anything else stays exactly as it was.
TEST_P(TrustedZoneActionTest, ChangesOnlyExistingDwordsThatDiffer) {
  const ActionCase& row = GetParam();
  registry().AddKey(kZones2);
  if (row.stored) registry().PutValue(kZones2, row.name, *row.stored);

  AdjustZone();

  EXPECT_EQ(registry().Value(kZones2, row.name), row.expected);
  if (row.stored == row.expected) {
    EXPECT_TRUE(JournalLines("set").empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrustedZoneActionTest,
    ::testing::Values(
        ActionCase{"DownloadSignedEnabledBecomesPrompt", "1001", Dword(0), Dword(1)},
        ActionCase{"DownloadSignedDisabledBecomesPrompt", "1001", Dword(3), Dword(1)},
        ActionCase{"DownloadSignedPromptUnchanged", "1001", Dword(1), Dword(1)},
        ActionCase{"AutoPromptPromptBecomesEnabled", "2201", Dword(1), Dword(0)},
        ActionCase{"AutoPromptDisabledBecomesEnabled", "2201", Dword(3), Dword(0)},
        ActionCase{"RunControlsDisabledBecomesEnabled", "1200", Dword(3), Dword(0)},
        ActionCase{"RunControlsEnabledUnchanged", "1200", Dword(0), Dword(0)},
        ActionCase{"StringValueUntouched", "1200", RegValue{kRegSz, {'3', 0}},
                   RegValue{kRegSz, {'3', 0}}},
        ActionCase{"BinaryValueUntouched", "1001", RegValue{3, {0, 0, 0, 0}},
                   RegValue{3, {0, 0, 0, 0}}},
        ActionCase{"ShortDwordUntouched", "2201", RegValue{kRegDword, {3, 0}},
                   RegValue{kRegDword, {3, 0}}},
        ActionCase{"OversizedDwordUntouched", "2201", RegValue{kRegDword, {3, 0, 0, 0, 0, 0, 0, 0}},
                   RegValue{kRegDword, {3, 0, 0, 0, 0, 0, 0, 0}}},
        ActionCase{"MissingValueNotCreated", "2201", std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.label); });

using ZoneActionIndependenceTest = StandInTest;

// The three rows are independent: an odd or unreadable first value does not
// stop the others, and other values of the zone are left alone.
TEST_F(ZoneActionIndependenceTest, RowsAreIndependent) {
  registry().PutValue(kZones2, "1001", {kRegSz, {'0', 0}});
  registry().PutDword(kZones2, "2201", 3);
  registry().PutDword(kZones2, "1200", 3);
  registry().PutDword(kZones2, "1400", 3);
  registry().Fail(RegOperation::kQuery, kZones2, kRegAccessDenied, "2201");

  RegistryKey key;
  ASSERT_EQ(key.Open(kCurrentUser, kZones2.c_str(), kValueRights), kRegSuccess);
  AdjustTrustedZoneActions(key);

  EXPECT_EQ(registry().Value(kZones2, "1001"), (RegValue{kRegSz, {'0', 0}}));
  EXPECT_EQ(registry().Value(kZones2, "2201"), Dword(3));
  EXPECT_EQ(registry().Value(kZones2, "1200"), Dword(0));
  EXPECT_EQ(registry().Value(kZones2, "1400"), Dword(3));
}

}  // namespace
