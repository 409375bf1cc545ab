#include "probe/site_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string SitePatternToAnsi(const char16_t* pattern) {
  const AnsiPattern narrow(pattern);
  return std::string(narrow.data(), narrow.size());
}

// Patterns reach the search as code page 949 bytes; what cannot be mapped
// becomes '?', and a missing pattern becomes the empty string.
TEST(SitePatternTest, ConvertsToCodePage949) {
  EXPECT_EQ(SitePatternToAnsi(u"*.kelvaro.co.kr"), "*.kelvaro.co.kr");
  EXPECT_EQ(SitePatternToAnsi(u"가.kr"), "\xB0\xA1.kr");
  EXPECT_EQ(SitePatternToAnsi(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(SitePatternToAnsi(u"a\xD800z"), "a?z");  // a lone surrogate
  EXPECT_EQ(SitePatternToAnsi(u""), "");
  EXPECT_EQ(SitePatternToAnsi(nullptr), "");
}

struct SearchCase {
  const char* label;
  std::string text;
  bool found;
};

void PrintTo(const SearchCase& row, std::ostream* out) { *out << row.label; }

class DomainSearchTest : public ::testing::TestWithParam<SearchCase> {};

// The domain is found as exact bytes, never starting on the trail byte of a
// double-byte character.
TEST_P(DomainSearchTest, FindsTheDomainOnCharacterBoundaries) {
  const std::string& text = GetParam().text;
  EXPECT_EQ(ContainsDomain(text.data(), text.size(), "kelvaro.co.kr"), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DomainSearchTest,
    ::testing::Values(SearchCase{"Exact", "kelvaro.co.kr", true},
                      SearchCase{"AtTheEnd", "https://www.kelvaro.co.kr", true},
                      SearchCase{"InTheMiddle", "a.kelvaro.co.kr.example.com", true},
                      SearchCase{"OtherCase", "*.Kelvaro.co.kr", false},
                      SearchCase{"Truncated", "*.kelvaro.co.k", false},
                      SearchCase{"Empty", "", false},
                      // U+AC43 is 0x81 0x6B in code page 949: its trail byte is 'k'.
                      SearchCase{"InsideDoubleByte", "\x81" "kelvaro.co.kr", false},
                      SearchCase{"AfterDoubleByte", "\x81" "kkelvaro.co.kr", true},
                      SearchCase{"AfterHangul", "\xB0\xA1" "kelvaro.co.kr", true},
                      SearchCase{"LoneLeadByteAtEnd", "kelvaro.co.kr\x81", true}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
