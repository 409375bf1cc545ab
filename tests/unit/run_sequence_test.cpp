#include "app/run_sequence.h"

#include <functional>

#include "stand_in_test.h"

namespace {

class RunSequenceTest : public StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    registry().PutDword(kZones2, "1001", 0);
    registry().PutDword(kZones2, "2201", 3);
    registry().PutDword(kZones2, "1200", 3);
    registry().AddKey(kDomains);
    registry().AddKey(kAllow);
  }

  // The journal without registry operations: the run's own steps.
  static std::vector<std::string> Steps() {
    std::vector<std::string> steps;
    for (const std::string& line : Journal()) {
      const bool registry_call = line.rfind("open ", 0) == 0 || line.rfind("create ", 0) == 0 ||
                                 line.rfind("query ", 0) == 0 || line.rfind("set ", 0) == 0 ||
                                 line.rfind("close ", 0) == 0;
      steps.push_back(registry_call ? "registry" : line);
    }
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    return steps;
  }

  static std::string Notice() { return u8"notice 신뢰할 수 있는 사이트 등록이 완료되었습니다."; }
  static std::string FailureNotice() {
    return u8"failure notice 신뢰할 수 있는 사이트를 등록하지 못했습니다.";
  }
};

// With consent the stages run once each, in order, the zone map is read back,
// and the run ends with the completion box and 0.
TEST_F(RunSequenceTest, ConsentWritesThenConfirms) {
  EXPECT_EQ(RunOrvantaCtrl(), 0);

  EXPECT_EQ(Steps(), (std::vector<std::string>{"framework init", "mappings of zone 2",
                                               "dialog constructed", "com init", "dialog shown",
                                               "registry", Notice(), "dialog destroyed"}));
  EXPECT_EQ(registry().Value(kDomainKey, "*"), Dword(2));
  EXPECT_EQ(registry().Value(kAllow, kPattern), (RegValue{kRegSz, {0}}));
  EXPECT_EQ(registry().Value(kZones2, "1200"), Dword(0));
  // The zone and domain stage comes before the pop-up stage.
  const auto& journal = Journal();
  const auto zone = std::find(journal.begin(), journal.end(), "open " + kZones2 + " 0x3 -> 0");
  const auto allow = std::find(journal.begin(), journal.end(), "open " + kAllow + " 0x2 -> 0");
  EXPECT_LT(zone, allow);
  EXPECT_NE(allow, journal.end());
}

// Anything but IDOK is a refusal: exit code 0, nothing written, nothing shown.
TEST_F(RunSequenceTest, AnyOtherDialogResultChangesNothing) {
  for (const int result : {kIdCancel, -1, 0, 7}) {
    SCOPED_TRACE(result);
    Journal().clear();
    Script().consent_result = result;
    const MemoryRegistry::State before = registry().state();

    EXPECT_EQ(RunOrvantaCtrl(), 0);

    EXPECT_EQ(registry().state(), before);
    EXPECT_EQ(Steps(), (std::vector<std::string>{"framework init", "mappings of zone 2",
                                                 "dialog constructed", "com init", "dialog shown",
                                                 "dialog destroyed"}));
  }
}

// An already trusted domain ends the run before any dialog, silently.
TEST_F(RunSequenceTest, AlreadyTrustedEndsSilently) {
  Script().trusted_mappings = {u"*.example.com", u"*.kelvaro.co.kr"};
  const MemoryRegistry::State before = registry().state();

  EXPECT_EQ(RunOrvantaCtrl(), 0);

  EXPECT_EQ(Steps(), (std::vector<std::string>{"framework init", "mappings of zone 2"}));
  EXPECT_EQ(registry().state(), before);
}

// A framework that cannot start gives the fatal text on standard output and
// exit code 1, and nothing else happens.
TEST_F(RunSequenceTest, FrameworkFailureIsFatal) {
  Script().framework_starts = false;

  testing::internal::CaptureStdout();
  const int exit_code = RunOrvantaCtrl();
  const std::string output = testing::internal::GetCapturedStdout();

  EXPECT_EQ(exit_code, 1);
  // "심각한 오류: MFC를 초기화하지 못했습니다." and a line feed, in code page 949.
  EXPECT_EQ(output,
            "\xBD\xC9\xB0\xA2\xC7\xD1 \xBF\xC0\xB7\xF9: MFC\xB8\xA6 \xC3\xCA\xB1\xE2\xC8\xAD\xC7"
            "\xCF\xC1\xF6 \xB8\xF8\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.\n");
  EXPECT_EQ(Steps(), std::vector<std::string>{"framework init"});
}

struct OutcomeCase {
  const char* label;
  std::function<void(MemoryRegistry&)> profile;
  int exit_code;
};

void PrintTo(const OutcomeCase& row, std::ostream* out) { *out << row.label; }

class ConsentOutcomeTest : public RunSequenceTest, public ::testing::WithParamInterface<OutcomeCase> {};

// After consent the box and the exit code say whether the domain really is in
// the Trusted sites zone now, whatever each write reported. The pop-up stage
// runs in every case, and the zone actions and the pop-up entry never decide
// the outcome: a profile may lack them on purpose.
TEST_P(ConsentOutcomeTest, BoxAndExitCodeFollowTheZoneMap) {
  GetParam().profile(registry());

  EXPECT_EQ(RunOrvantaCtrl(), GetParam().exit_code);

  const bool registered = GetParam().exit_code == kExitDone;
  EXPECT_EQ(JournalLines("notice"), (registered ? std::vector<std::string>{Notice()}
                                                : std::vector<std::string>{}));
  EXPECT_EQ(JournalLines("failure notice"), (registered ? std::vector<std::string>{}
                                                        : std::vector<std::string>{FailureNotice()}));
  EXPECT_EQ(registry().Value(kDomainKey, "*") == Dword(2), registered);
  EXPECT_EQ(JournalLines("set " + kAllow), std::vector<std::string>{"set " + kAllow + " " + kPattern + " -> 0"});
  EXPECT_EQ(registry().open_handles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsentOutcomeTest,
    ::testing::Values(
        OutcomeCase{"Mapped", [](MemoryRegistry&) {}, kExitDone},
        OutcomeCase{"ZoneActionsAndPopupEntryNotWritten",
                    [](MemoryRegistry& r) {
                      r.Fail(RegOperation::kSet, kZones2, kRegAccessDenied);
                      r.Fail(RegOperation::kOpen, kZones2, kRegAccessDenied);
                    },
                    kExitDone},
        OutcomeCase{"KeysLimitedToReadAndSetValue",
                    [](MemoryRegistry& r) {
                      r.PutDword(kDomainKey, "*", 4);
                      for (const std::string& key : {kZones2, kDomainKey, kAllow}) r.Restrict(key, 0x2001B);
                      r.Restrict(kDomains, 0x20019);
                    },
                    kExitDone},
        OutcomeCase{"NoDomainsKey", [](MemoryRegistry& r) { r.RemoveKey(kDomains); }, kExitNotRegistered},
        OutcomeCase{"DomainKeyCannotBeCreated",
                    [](MemoryRegistry& r) { r.Fail(RegOperation::kCreate, kDomainKey, kRegAccessDenied); },
                    kExitNotRegistered},
        OutcomeCase{"ZoneValueWriteFails",
                    [](MemoryRegistry& r) {
                      r.Fail(RegOperation::kSet, kDomainKey, kRegAccessDenied, "*");
                    },
                    kExitNotRegistered},
        OutcomeCase{"ReadOnlyDomainKeyInRestrictedZone",
                    [](MemoryRegistry& r) {
                      r.PutDword(kDomainKey, "*", 4);
                      r.Restrict(kDomainKey, 0x20019);
                    },
                    kExitNotRegistered},
        OutcomeCase{"ZoneValueOfAnotherTypeKept",
                    [](MemoryRegistry& r) {
                      r.PutString(kDomainKey, "*", "2");
                      r.Fail(RegOperation::kSet, kDomainKey, kRegAccessDenied, "*");
                    },
                    kExitNotRegistered}),
    [](const auto& info) { return std::string(info.param.label); });

// A second consented run on the same profile changes nothing more.
TEST_F(RunSequenceTest, SecondConsentChangesNothingMore) {
  ASSERT_EQ(RunOrvantaCtrl(), 0);
  const MemoryRegistry::State after_first = registry().state();

  ASSERT_EQ(RunOrvantaCtrl(), 0);

  EXPECT_EQ(registry().state(), after_first);
  EXPECT_EQ(registry().open_handles(), 0u);
}

}  // namespace
