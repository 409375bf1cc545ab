#include "registry/domain_registration.h"

#include <functional>

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
// the keys opened, created and closed in this order, each with only the rights
// used on it (query and set value; Domains only for its existence), and none
// left open.
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
                            "open " + kZones2 + " 0x3 -> 0",
                            "open " + kDomains + " 0x1 -> 0",
                            "close " + kZones2 + " -> 0",
                            "open " + kDomainKey + " 0x3 -> 2",
                            "create " + kDomainKey + " 0x3 -> 0",
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

// The domain key is reached through the Domains key held, so a Domains key
// that another program deletes meanwhile is not brought back by the create.
TEST_F(DomainRegistrationTest, DomainsKeyRemovedMeanwhileIsNotRecreated) {
  SeedTypicalProfile();
  registry().Before(RegOperation::kOpen, kDomainKey, [this] { registry().RemoveKey(kDomains); });

  RegisterTrustedDomains();

  EXPECT_FALSE(registry().HasKey(kDomains));
  EXPECT_FALSE(registry().HasKey(kDomainKey));
  EXPECT_EQ(JournalLines("create"),
            std::vector<std::string>{"create " + kDomainKey + " 0x3 -> " + std::to_string(kRegKeyDeleted)});
  EXPECT_EQ(registry().open_handles(), 0u);
}

// Keys whose permissions allow reading and setting values, and no more, are
// written all the same: nothing asks for rights the stage does not use.
TEST_F(DomainRegistrationTest, KeysLimitedToValueAccessAreStillWritten) {
  constexpr RegAccess kReadAndSetValue = 0x2001B;
  constexpr RegAccess kReadOnly = 0x20019;
  SeedTypicalProfile();
  registry().PutDword(kDomainKey, "*", 4);
  registry().Restrict(kZones2, kReadAndSetValue);
  registry().Restrict(kDomains, kReadOnly);
  registry().Restrict(kDomainKey, kReadAndSetValue);

  RegisterTrustedDomains();

  ExpectZoneAdjusted();
  EXPECT_EQ(registry().Value(kDomainKey, "*"), Dword(2));
}

// Running the stage again leaves the state it left the first time.
TEST_F(DomainRegistrationTest, SecondRunChangesNothing) {
  SeedTypicalProfile();
  RegisterTrustedDomains();
  const MemoryRegistry::State after_first = registry().state();

  RegisterTrustedDomains();

  EXPECT_EQ(registry().state(), after_first);
}

struct OutcomeCase {
  const char* label;
  std::function<void(MemoryRegistry&)> profile;
  bool trusted;
};

void PrintTo(const OutcomeCase& row, std::ostream* out) { *out << row.label; }

class RegistrationOutcomeTest : public StandInTest,
                                public ::testing::WithParamInterface<OutcomeCase> {};

// Only a "*" value of REG_DWORD 2 on the domain key counts as trusted, read
// with no more than the right to query values.
TEST_P(RegistrationOutcomeTest, ReadsTheZoneMapBack) {
  GetParam().profile(registry());

  EXPECT_EQ(AreTargetDomainsTrusted(), GetParam().trusted);
  for (const std::string& line : JournalLines("open")) {
    EXPECT_NE(line.find(" 0x1 -> "), std::string::npos) << line;
  }
  EXPECT_EQ(registry().open_handles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistrationOutcomeTest,
    ::testing::Values(
        OutcomeCase{"TrustedSitesZone", [](MemoryRegistry& r) { r.PutDword(kDomainKey, "*", 2); },
                    true},
        OutcomeCase{"ReadOnlyKeyInTrustedSitesZone",
                    [](MemoryRegistry& r) {
                      r.PutDword(kDomainKey, "*", 2);
                      r.Restrict(kDomainKey, 0x20019);
                    },
                    true},
        OutcomeCase{"NoDomainsKey", [](MemoryRegistry& r) { r.AddKey(kDomains + "Elsewhere"); }, false},
        OutcomeCase{"NoDomainKey", [](MemoryRegistry& r) { r.AddKey(kDomains); }, false},
        OutcomeCase{"NoZoneValue", [](MemoryRegistry& r) { r.PutDword(kDomainKey, "http", 2); },
                    false},
        OutcomeCase{"RestrictedZone", [](MemoryRegistry& r) { r.PutDword(kDomainKey, "*", 4); },
                    false},
        OutcomeCase{"ZoneAsString", [](MemoryRegistry& r) { r.PutString(kDomainKey, "*", "2"); },
                    false},
        OutcomeCase{"ZoneAsBinary",
                    [](MemoryRegistry& r) { r.PutValue(kDomainKey, "*", {3, {2, 0, 0, 0}}); }, false},
        OutcomeCase{"ShortDword",
                    [](MemoryRegistry& r) { r.PutValue(kDomainKey, "*", {kRegDword, {2, 0}}); },
                    false},
        OutcomeCase{"OversizedDword",
                    [](MemoryRegistry& r) {
                      r.PutValue(kDomainKey, "*", {kRegDword, {2, 0, 0, 0, 0, 0, 0, 0}});
                    },
                    false},
        OutcomeCase{"UnreadableValue",
                    [](MemoryRegistry& r) {
                      r.PutDword(kDomainKey, "*", 2);
                      r.Fail(RegOperation::kQuery, kDomainKey, kRegAccessDenied, "*");
                    },
                    false},
        OutcomeCase{"UnopenableKey",
                    [](MemoryRegistry& r) {
                      r.PutDword(kDomainKey, "*", 2);
                      r.Restrict(kDomainKey, 0x20000);
                    },
                    false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
