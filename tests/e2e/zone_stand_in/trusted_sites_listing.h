#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The site patterns that the current user's ZoneMap\Domains maps to `zone`,
// written the way Windows lists them in the Internet options: "*.example.com"
// for a "*" value on Domains\example.com, "https://*.example.com" for an
// "https" value, "www.example.com" or "https://www.example.com" for the same
// on its sub-key www. An approximation of Windows' own listing (no ranges,
// no machine-wide or policy mappings, no escaping), enough for a program that
// searches each pattern for its domain.
std::vector<std::wstring> ListSitesMappedTo(DWORD zone);
