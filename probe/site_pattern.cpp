#include "probe/site_pattern.h"

#include "platform/ansi_text.h"

namespace {

constexpr std::size_t kMaxPatternUnits = 0x3FFFFFFF;

}  // namespace

std::string SitePatternToAnsi(const char16_t* pattern) {
  if (!pattern) return {};
  std::size_t units = 0;
  while (pattern[units] != u'\0') {
    if (++units >= kMaxPatternUnits) return {};
  }
  std::string narrow(2 * (units + 1), '\0');
  const int written = WideToAnsi(pattern, static_cast<int>(units + 1), narrow.data(),
                                 static_cast<int>(narrow.size()));
  if (written <= 0) return {};
  narrow.resize(static_cast<std::size_t>(written) - 1);  // drop the terminator
  return narrow;
}

bool ContainsDomain(std::string_view text, std::string_view domain) {
  if (domain.empty()) return false;
  std::size_t position = 0;
  while (position < text.size()) {
    if (text.substr(position, domain.size()) == domain) return true;
    const bool double_byte = IsAnsiLeadByte(static_cast<unsigned char>(text[position])) &&
                             position + 1 < text.size();
    position += double_byte ? 2 : 1;
  }
  return false;
}
