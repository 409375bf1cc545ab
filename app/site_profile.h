#pragma once

#include <array>
#include <cstdint>

// Which site this build trusts and where in HKEY_CURRENT_USER it writes.
// A different site means a different build: nothing here is read at run time.
// The build also reads kWildcardPattern from this file for the notice text.

inline constexpr char kTargetDomain[] = "kelvaro.co.kr";
inline constexpr std::array<const char*, 1> kTargetDomains = {kTargetDomain};
inline constexpr char kWildcardPattern[] = "*.kelvaro.co.kr";

inline constexpr char kTrustedZoneKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2";
inline constexpr char kZoneMapRoot[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap";
inline constexpr char kDomainsComponent[] = "Domains";
inline constexpr char kPopupSettingsRoot[] = "SOFTWARE\\Microsoft\\Internet Explorer\\New Windows";
inline constexpr char kAllowComponent[] = "Allow";
inline constexpr char kPathSeparator[] = "\\";
inline constexpr char kZoneValueName[] = "*";

// The Trusted sites zone: the zone the mappings are listed for and the data of "*".
inline constexpr std::uint32_t kTrustedSitesZone = 2;

struct UrlActionPolicy {
  const char* name;
  std::uint32_t desired;
};

// ActiveX URL actions of the Trusted sites zone (0 enable, 1 prompt, 3 disable).
inline constexpr std::array<UrlActionPolicy, 3> kTrustedZoneActions = {{
    {"1001", 1},  // download signed ActiveX controls: prompt
    {"2201", 0},  // automatic prompting for ActiveX controls: enable
    {"1200", 0},  // run ActiveX controls and plug-ins: enable
}};

// Data of the pop-up allow entry: only the value's name carries information.
inline constexpr char kPopupAllowData[] = "";
