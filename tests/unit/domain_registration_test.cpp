#include "registry/domain_registration.h"

#include "stand_in_test.h"

namespace {

class DomainRegistrationTest : public StandInTest {
 protected:
  // A profile as Windows ships it: Zones\2 with its actions, an empty Domains key.
  void SeedTypicalProfile() {
    registry().PutDword(kZones2, "1001", 0);
    registry().PutDword(kZones2, "2201", 3);
    registry().PutDword(kZones2, "1200", 3);
    registry().AddKey(kDomains);
  }

  void ExpectZoneAdjusted() {
    EXPECT_EQ(registry().Value(kZones2, "1001"), Dword(1));
    EXPECT_EQ(registry().Value(kZones2, "2201"), Dword(0));
    EXPECT_EQ(registry().Value(kZones2, "1200"), Dword(0));
  }
};

// On a typical profile the zone is adjusted, then the domain is mapped, with
// the keys opened, created and closed in this order and none left open.
TEST_F(DomainRegistrationTest, TypicalProfileIsAdjustedThenMapped) {
  SeedTypicalProfile();

  RegisterTrustedDomains();

  ExpectZoneAdjusted();
  EXPECT_EQ(registry().Value(kDomainKey, "*"), Dword(2));
  EXPECT_EQ(registry().open_handles(), 0u);

  std::vector<std::string> key_events;
  for (const std::string& line : Journal()) {
    if (line.rfind("query", 0) != 0 && line.rfind("set " + kZones2, 0) != 0) key_events.push_back(line);
  }
  EXPECT_EQ(key_events, (std::vector<std::string>{
                            "open " + kZones2 + " 0xf003f -> 0",
                            "open " + kDomains + " 0x2001f -> 0",
                            "close " + kZones2 + " -> 0",
                            "open " + kDomainKey + " 0x2001f -> 2",
                            "create " + kDomainKey + " 0x2001f -> 0",
                            "close " + kDomains + " -> 0",
                            "set " + kDomainKey + " * -> 0",
                            "close " + kDomainKey + " -> 0",
                        }));
}

// An existing domain key mapped to another zone ends in the Trusted sites
// zone; its other values and sub-keys stay.
TEST_F(DomainRegistrationTest, ExistingDomainKeyIsRemapped) {
  SeedTypicalProfile();
  registry().PutDword(kDomainKey, "*", 4);
  registry().PutDword(kDomainKey, "https", 4);
  registry().PutDword(kDomainKey + "\\www", "*", 1);

  RegisterTrustedDomains();

  EXPECT_EQ(registry().Value(kDomainKey, "*"), Dword(2));
  EXPECT_EQ(registry().Value(kDomainKey, "https"), Dword(4));
  EXPECT_EQ(registry().Value(kDomainKey + "\\www", "*"), Dword(1));
  EXPECT_TRUE(JournalLines("create").empty());
}

// Without a Domains key nothing is created, yet the zone is still adjusted.
TEST_F(DomainRegistrationTest, MissingDomainsKeyIsNotCreated) {
  registry().PutDword(kZones2, "1001", 0);
  registry().PutDword(kZones2, "2201", 3);
  registry().PutDword(kZones2, "1200", 3);
  registry().AddKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap");
  const auto before_keys = registry().state().size();

  RegisterTrustedDomains();

  ExpectZoneAdjusted();
  EXPECT_FALSE(registry().HasKey(kDomains));
  EXPECT_EQ(registry().state().size(), before_keys);
  EXPECT_EQ(registry().open_handles(), 0u);
}

// Without a Trusted-zone key the domain is still mapped, and the zone key is not made.
TEST_F(DomainRegistrationTest, MissingZoneKeyStillMapsTheDomain) {
  registry().AddKey(kDomains);

  RegisterTrustedDomains();

  EXPECT_FALSE(registry().HasKey(kZones2));
  EXPECT_EQ(registry().Value(kDomainKey, "*"), Dword(2));
}

// A domain key that can be neither opened nor created ends the stage with
// every key closed and nothing written.
TEST_F(DomainRegistrationTest, CreateFailureStopsWithKeysClosed) {
  SeedTypicalProfile();
  registry().Fail(RegOperation::kCreate, kDomainKey, kRegAccessDenied);

  RegisterTrustedDomains();

  ExpectZoneAdjusted();
  EXPECT_FALSE(registry().HasKey(kDomainKey));
  EXPECT_TRUE(JournalLines("set " + kDomains).empty());
  EXPECT_EQ(registry().open_handles(), 0u);
}

// When closing the zone key fails, the Domains open reports it and that
// domain is skipped; the Domains key is still released at the end.
TEST_F(DomainRegistrationTest, FailedCloseOfZoneKeySkipsTheDomain) {
  SeedTypicalProfile();
  registry().Fail(RegOperation::kClose, kZones2, kRegInvalidHandle);

  RegisterTrustedDomains();

  ExpectZoneAdjusted();
  EXPECT_FALSE(registry().HasKey(kDomainKey));
  EXPECT_EQ(JournalLines("close " + kDomains), std::vector<std::string>{"close " + kDomains + " -> 0"});
}

// A failed write of "*" is absorbed.
TEST_F(DomainRegistrationTest, FailedZoneValueWriteIsSilent) {
  SeedTypicalProfile();
  registry().Fail(RegOperation::kSet, kDomainKey, kRegAccessDenied, "*");

  RegisterTrustedDomains();

  EXPECT_TRUE(registry().HasKey(kDomainKey));
  EXPECT_FALSE(registry().Value(kDomainKey, "*"));
  EXPECT_EQ(registry().open_handles(), 0u);
}

// Running the stage again leaves the state it left the first time.
TEST_F(DomainRegistrationTest, SecondRunChangesNothing) {
  SeedTypicalProfile();
  RegisterTrustedDomains();
  const MemoryRegistry::State after_first = registry().state();

  RegisterTrustedDomains();

  EXPECT_EQ(registry().state(), after_first);
}

}  // namespace
