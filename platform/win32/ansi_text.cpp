#include "platform/ansi_text.h"

#include <windows.h>

int WideToAnsi(const char16_t* wide, int units, char* out, int out_size) {
  return WideCharToMultiByte(CP_THREAD_ACP, 0, reinterpret_cast<const wchar_t*>(wide), units, out,
                             out_size, nullptr, nullptr);
}

bool IsAnsiLeadByte(unsigned char byte) {
  CPINFO info = {};
  if (!GetCPInfo(CP_THREAD_ACP, &info)) return false;
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    if (byte >= info.LeadByte[i] && byte <= info.LeadByte[i + 1]) return true;
  }
  return false;
}
