#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/journal.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/stand_ins.h"

// Read and write values: what the stages ask of the keys they change.
inline constexpr RegAccess kValueRights = kKeyQueryValue | kKeySetValue;

inline RegValue Dword(std::uint32_t data) {
  const DwordBytes bytes = EncodeDword(data);
  return {kRegDword, {bytes.begin(), bytes.end()}};
}

inline RegValue String(const std::string& text) {
  std::vector<unsigned char> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return {kRegSz, bytes};
}

// Every native test starts from an empty registry, an empty journal and the
// default script.
class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetStandIns(); }

  MemoryRegistry& registry() { return TestRegistry(); }

  // Journal lines that start with `prefix`, in order.
  static std::vector<std::string> JournalLines(const std::string& prefix) {
    std::vector<std::string> lines;
    std::copy_if(Journal().begin(), Journal().end(), std::back_inserter(lines),
                 [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return lines;
  }
};

// Registry paths spelled out in full, independently of the site profile.
inline const std::string kZones2 =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
inline const std::string kDomains =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
inline const std::string kDomainKey = kDomains + "\\kelvaro.co.kr";
inline const std::string kNewWindows = "SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
inline const std::string kAllow = kNewWindows + "\\Allow";
inline const std::string kPattern = "*.kelvaro.co.kr";
