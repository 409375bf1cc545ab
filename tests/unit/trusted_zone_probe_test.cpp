#include "probe/trusted_zone_probe.h"

#include <optional>

#include "stand_in_test.h"

namespace {

using Mappings = std::vector<std::optional<std::u16string>>;

struct ProbeCase {
  const char* label;
  Mappings mappings;
  std::int32_t query_status;
  bool trusted;
};

void PrintTo(const ProbeCase& row, std::ostream* out) { *out << row.label; }

constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001u);
constexpr std::int32_t kSFalse = 1;

class ProbeTest : public StandInTest, public ::testing::WithParamInterface<ProbeCase> {};

// The probe answers true only when a Trusted sites pattern contains the
// domain's exact text; every failure answers false.
TEST_P(ProbeTest, AnswersFromTheTrustedMappings) {
  Script().trusted_mappings = GetParam().mappings;
  Script().mapping_query_status = GetParam().query_status;

  EXPECT_EQ(IsDomainInTrustedZone(), GetParam().trusted);
  EXPECT_EQ(Journal().front(), "mappings of zone 2");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProbeTest,
    ::testing::Values(
        ProbeCase{"NoMappings", {}, 0, false},
        ProbeCase{"WildcardPattern", {u"*.example.com", u"*.kelvaro.co.kr"}, 0, true},
        ProbeCase{"SchemeQualified", {u"https://kelvaro.co.kr"}, 0, true},
        ProbeCase{"LongerHostName", {u"*.shop.kelvaro.co.kr.example.net"}, 0, true},
        ProbeCase{"OtherLetterCase", {u"*.KELVARO.CO.KR", u"*.Kelvaro.co.kr"}, 0, false},
        ProbeCase{"TrailByteStartsTheDomain", {u"\uAC43elvaro.co.kr"}, 0, false},
        ProbeCase{"DomainAfterWholeCharacter", {u"\uAC43kelvaro.co.kr"}, 0, true},
        ProbeCase{"NullItemThenMatch", {std::nullopt, u"*.kelvaro.co.kr"}, 0, true},
        ProbeCase{"UnmappableItemThenMatch", {u"\U0001F600", u"kelvaro.co.kr"}, 0, true},
        ProbeCase{"SuccessCodeOtherThanOk", {u"*.kelvaro.co.kr"}, kSFalse, true},
        ProbeCase{"QueryFails", {u"*.kelvaro.co.kr"}, kNotImplemented, false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
