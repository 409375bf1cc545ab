#include "registry/registry_key.h"

#include "stand_in_test.h"

namespace {

const std::string kFirst = "Software\\First";
const std::string kSecond = "Software\\Second";

class RegistryKeyTest : public StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    registry().AddKey(kFirst);
    registry().AddKey(kSecond);
  }

  // Writes a marker through the held handle, so the state shows which key it is.
  static void Mark(const RegistryKey& key) {
    const DwordBytes one = EncodeDword(1);
    SetRegistryValue(key.get(), "marker", kRegDword, one.data(), one.size());
  }
};

// Opening another key closes the one held, after the new one is obtained.
TEST_F(RegistryKeyTest, OpenReplacesTheHeldKey) {
  RegistryKey key;
  ASSERT_EQ(key.Open(kCurrentUser, kFirst.c_str(), kValueRights), kRegSuccess);
  ASSERT_EQ(key.Open(kCurrentUser, kSecond.c_str(), kValueRights), kRegSuccess);
  Mark(key);

  EXPECT_TRUE(registry().Value(kSecond, "marker"));
  EXPECT_FALSE(registry().Value(kFirst, "marker"));
  EXPECT_EQ(registry().open_handles(), 1u);
  EXPECT_EQ(JournalLines("close"), std::vector<std::string>{"close " + kFirst + " -> 0"});
}

// A failed Open or Create reports its code and leaves the held key in place.
TEST_F(RegistryKeyTest, FailedOpenOrCreateKeepsTheHeldKey) {
  registry().Fail(RegOperation::kCreate, "Software\\Denied", kRegAccessDenied);
  RegistryKey key;
  ASSERT_EQ(key.Open(kCurrentUser, kFirst.c_str(), kValueRights), kRegSuccess);

  EXPECT_EQ(key.Open(kCurrentUser, "Software\\Missing", kValueRights), kRegFileNotFound);
  EXPECT_EQ(key.Create(kCurrentUser, "Software\\Denied", kValueRights), kRegAccessDenied);
  Mark(key);

  EXPECT_TRUE(registry().Value(kFirst, "marker"));
  EXPECT_FALSE(registry().HasKey("Software\\Missing"));
  EXPECT_EQ(registry().open_handles(), 1u);
  EXPECT_TRUE(JournalLines("close").empty());
}

// When the old key's close fails, the new key is held all the same and the
// close's code is the result.
TEST_F(RegistryKeyTest, FailedCloseIsReportedWhileTheNewKeyIsHeld) {
  registry().Fail(RegOperation::kClose, kFirst, kRegInvalidHandle);
  RegistryKey key;
  ASSERT_EQ(key.Open(kCurrentUser, kFirst.c_str(), kValueRights), kRegSuccess);

  EXPECT_EQ(key.Create(kCurrentUser, kSecond.c_str(), kValueRights), kRegInvalidHandle);
  Mark(key);

  EXPECT_TRUE(registry().Value(kSecond, "marker"));
  EXPECT_FALSE(registry().Value(kFirst, "marker"));
}

// Create makes the key and every missing key above it.
TEST_F(RegistryKeyTest, CreateMakesMissingKeysOnThePath) {
  RegistryKey key;
  EXPECT_EQ(key.Create(kCurrentUser, "Software\\New\\Deeper", kValueRights), kRegSuccess);
  EXPECT_TRUE(registry().HasKey("Software\\New"));
  EXPECT_TRUE(registry().HasKey("Software\\New\\Deeper"));
}

// Close forgets the key; closing an empty holder succeeds; destruction closes.
TEST_F(RegistryKeyTest, CloseAndDestructionReleaseTheHandle) {
  {
    RegistryKey key;
    EXPECT_EQ(key.Close(), kRegSuccess);
    ASSERT_EQ(key.Open(kCurrentUser, kFirst.c_str(), kValueRights), kRegSuccess);
    EXPECT_EQ(key.Close(), kRegSuccess);
    EXPECT_EQ(key.get(), kNoKey);
    EXPECT_EQ(registry().open_handles(), 0u);
    ASSERT_EQ(key.Open(kCurrentUser, kSecond.c_str(), kValueRights), kRegSuccess);
  }
  EXPECT_EQ(registry().open_handles(), 0u);
}

}  // namespace
