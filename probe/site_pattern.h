#pragma once

#include <string>
#include <string_view>

// The narrow form of a UTF-16 site pattern in the thread's ANSI code page.
// A null pattern, one of 0x3FFFFFFF units or more, and one that cannot be
// converted within 2 x (units + 1) bytes all give the empty string.
std::string SitePatternToAnsi(const char16_t* pattern);

// Exact, case-sensitive substring search that never starts a match on the
// second byte of a double-byte character.
bool ContainsDomain(std::string_view text, std::string_view domain);
