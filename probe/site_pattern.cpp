#include "probe/site_pattern.h"

#include <cstdlib>
#include <cstring>

#include "platform/ansi_text.h"

namespace {

constexpr std::size_t kMaxPatternUnits = 0x3FFFFFFF;

}  // namespace

AnsiPattern::AnsiPattern(const char16_t* pattern) {
  if (!pattern) return;
  std::size_t units = 0;
  while (pattern[units] != u'\0') {
    if (++units >= kMaxPatternUnits) return;
  }
  const std::size_t capacity = 2 * (units + 1);
  text_ = static_cast<char*>(std::malloc(capacity));
  if (!text_) return;
  const int written = WideToAnsi(pattern, static_cast<int>(units + 1), text_,
                                 static_cast<int>(capacity));
  if (written <= 0) return;
  size_ = static_cast<std::size_t>(written) - 1;  // without the terminator
}

AnsiPattern::~AnsiPattern() { std::free(text_); }

bool ContainsDomain(const char* text, std::size_t size, const char* domain) {
  const std::size_t domain_size = std::strlen(domain);
  if (domain_size == 0) return false;
  std::size_t position = 0;
  while (position < size) {
    if (size - position >= domain_size && std::memcmp(text + position, domain, domain_size) == 0) {
      return true;
    }
    const bool double_byte =
        IsAnsiLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < size;
    position += double_byte ? 2 : 1;
  }
  return false;
}
