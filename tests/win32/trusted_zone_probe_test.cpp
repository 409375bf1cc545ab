// The probe's Windows side, inside Wine: the real URL security manager and
// the thread's ANSI code page (949 under LC_ALL=ko_KR.UTF-8).
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <string>

#include "platform/ansi_text.h"
#include "platform/zone_mappings.h"
#include "probe/site_pattern.h"
#include "probe/trusted_zone_probe.h"

namespace {

std::string SitePatternToAnsi(const char16_t* pattern) {
  const AnsiPattern narrow(pattern);
  return std::string(narrow.data(), narrow.size());
}

bool ContainsDomain(const std::string& text, const char* domain) {
  return ::ContainsDomain(text.data(), text.size(), domain);
}

constexpr HRESULT kNotImplemented = static_cast<HRESULT>(0x80004001);

// Wine has no zone mappings to list: the query's failure comes back to the
// caller, no pattern is visited, and COM stays initialised afterwards.
TEST(TrustedZoneProbeInWine, FailedQueryIsReportedAndLeavesComInitialised) {
  int visited = 0;
  const auto count = [](const char16_t*, void* visits) {
    ++*static_cast<int*>(visits);
    return false;
  };
  const HResult result = VisitZoneMappings(2, count, &visited);

  EXPECT_EQ(result, kNotImplemented);
  EXPECT_EQ(visited, 0);
  // S_FALSE: this thread's apartment was already initialised by the probe.
  const HRESULT again = CoInitialize(nullptr);
  EXPECT_EQ(again, S_FALSE);
  CoUninitialize();
  CoUninitialize();
}

// With no mapping to read, the probe answers false and the user is asked.
TEST(TrustedZoneProbeInWine, AnswersFalse) {
  EXPECT_FALSE(IsDomainInTrustedZone());
  CoUninitialize();
}

// The Windows conversion and lead-byte table give the code page 949 results
// the search relies on.
TEST(TrustedZoneProbeInWine, UsesTheThreadCodePage) {
  ASSERT_EQ(GetACP(), 949u);
  EXPECT_EQ(SitePatternToAnsi(u"\uAC00.kelvaro.co.kr"), "\xB0\xA1.kelvaro.co.kr");
  EXPECT_EQ(SitePatternToAnsi(u"a\u0E01b"), "a?b");  // Thai has no place in code page 949
  EXPECT_TRUE(IsAnsiLeadByte(0x81));
  EXPECT_FALSE(IsAnsiLeadByte('k'));
  EXPECT_FALSE(ContainsDomain(SitePatternToAnsi(u"\uAC43elvaro.co.kr"), "kelvaro.co.kr"));
  EXPECT_TRUE(ContainsDomain(SitePatternToAnsi(u"\uAC43kelvaro.co.kr"), "kelvaro.co.kr"));
}

}  // namespace
