#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// Everything the driver tells the harness is a line "key=value". Texts read
// from windows are given as hex of their UTF-8 bytes, so Korean texts, line
// feeds and leading spaces reach the harness exactly.

inline void Emit(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

inline std::string Utf8(const std::wstring& text) {
  if (text.empty()) return "";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

inline std::string HexOfUtf8(const std::wstring& text) {
  const std::string utf8 = Utf8(text);
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : utf8) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

inline std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }
