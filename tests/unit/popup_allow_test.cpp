#include "registry/popup_allow.h"

#include "stand_in_test.h"

namespace {

using PopupAllowTest = StandInTest;

// The pattern joins the existing allow list as an empty REG_SZ (one byte);
// the list's other entries stay.
TEST_F(PopupAllowTest, AddsThePatternToTheAllowList) {
  registry().PutString(kAllow, "*.example.com", "");

  AllowDomainPopups();

  EXPECT_EQ(registry().Value(kAllow, kPattern), (RegValue{kRegSz, {0}}));
  EXPECT_EQ(registry().Value(kAllow, "*.example.com"), (RegValue{kRegSz, {0}}));
  EXPECT_EQ(JournalLines("open"), std::vector<std::string>{"open " + kAllow + " 0x2 -> 0"});
  EXPECT_EQ(registry().open_handles(), 0u);
}

// Without an Allow key nothing is created.
TEST_F(PopupAllowTest, MissingAllowKeyIsNotCreated) {
  registry().AddKey(kNewWindows);
  const MemoryRegistry::State before = registry().state();

  AllowDomainPopups();

  EXPECT_EQ(registry().state(), before);
}

// A second run leaves one entry, unchanged; an old entry with data is reset to empty.
TEST_F(PopupAllowTest, RepeatedRunsLeaveOneEmptyEntry) {
  registry().PutString(kAllow, kPattern, "stale");

  AllowDomainPopups();
  const MemoryRegistry::State after_first = registry().state();
  AllowDomainPopups();

  EXPECT_EQ(registry().state(), after_first);
  EXPECT_EQ(registry().state().at(kAllow).size(), 1u);
  EXPECT_EQ(registry().Value(kAllow, kPattern), (RegValue{kRegSz, {0}}));
}

}  // namespace
