// Code page 949 through glibc's iconv, standing in for the Windows code page
// conversion of the thread's ANSI code page.
#include "platform/ansi_text.h"

#include <iconv.h>

#include <cstring>

namespace {

constexpr char kDefaultChar = '?';

class Cp949Converter {
 public:
  Cp949Converter() : handle_(iconv_open("CP949", "UTF-32LE")) {}
  ~Cp949Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Cp949Converter(const Cp949Converter&) = delete;
  Cp949Converter& operator=(const Cp949Converter&) = delete;

  // Writes one code point's bytes into out (at most 2); returns how many, 0 if unmappable.
  std::size_t Convert(char32_t code_point, char* out) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return 0;
    unsigned char in[4];
    for (int i = 0; i < 4; ++i) in[i] = static_cast<unsigned char>(code_point >> (8 * i));
    char* in_ptr = reinterpret_cast<char*>(in);
    std::size_t in_left = sizeof(in);
    char buffer[8];
    char* out_ptr = buffer;
    std::size_t out_left = sizeof(buffer);
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) return 0;
    const std::size_t written = sizeof(buffer) - out_left;
    std::memcpy(out, buffer, written);
    return written;
  }

 private:
  iconv_t handle_;
};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

int WideToAnsi(const char16_t* wide, int units, char* out, int out_size) {
  if (!wide || units <= 0 || !out || out_size <= 0) return 0;
  Cp949Converter converter;
  int written = 0;
  for (int i = 0; i < units; ++i) {
    char32_t code_point = wide[i];
    if (IsHighSurrogate(wide[i]) && i + 1 < units && IsLowSurrogate(wide[i + 1])) {
      code_point = 0x10000 + ((wide[i] - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    }
    char bytes[8];
    std::size_t count = converter.Convert(code_point, bytes);
    if (count == 0) {
      bytes[0] = kDefaultChar;
      count = 1;
    }
    if (written + static_cast<int>(count) > out_size) return 0;
    std::memcpy(out + written, bytes, count);
    written += static_cast<int>(count);
  }
  return written;
}

bool IsAnsiLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
