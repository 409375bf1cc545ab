#pragma once

#include <cstddef>

// A UTF-16 site pattern in the thread's ANSI code page, owned until it goes.
// A null pattern, one of 0x3FFFFFFF units or more, and one that cannot be
// converted within 2 x (units + 1) bytes all give the empty text.
class AnsiPattern {
 public:
  explicit AnsiPattern(const char16_t* pattern);
  ~AnsiPattern();
  AnsiPattern(const AnsiPattern&) = delete;
  AnsiPattern& operator=(const AnsiPattern&) = delete;

  const char* data() const { return text_ ? text_ : ""; }
  std::size_t size() const { return size_; }

 private:
  char* text_ = nullptr;  // from malloc: the program links no throwing allocator
  std::size_t size_ = 0;
};

// Exact, case-sensitive search for `domain` in the `size` bytes of `text`
// that never starts a match on the second byte of a double-byte character.
bool ContainsDomain(const char* text, std::size_t size, const char* domain);
