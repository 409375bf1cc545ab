#include "registry_access.h"

namespace {

// The longest key or value name the registry allows, plus the terminator.
constexpr DWORD kMaxNameChars = 16384;

}  // namespace

UniqueKey OpenKeyForReading(HKEY parent, const std::wstring& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  return UniqueKey(opened);
}

UniqueKey CreateKeyForWriting(HKEY parent, const std::wstring& path) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &created,
                      nullptr) != ERROR_SUCCESS)
    return {};
  return UniqueKey(created);
}

std::vector<std::wstring> SubKeyNames(HKEY key) {
  std::vector<std::wstring> names;
  std::wstring name(kMaxNameChars, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kMaxNameChars;
    const LONG status =
        RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return names;
    if (status == ERROR_SUCCESS) names.emplace_back(name.data(), length);
  }
}

std::vector<std::wstring> DwordValuesEqualTo(HKEY key, DWORD number) {
  std::vector<std::wstring> names;
  std::wstring name(kMaxNameChars, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kMaxNameChars;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof(data);
    // Data larger than a DWORD answers ERROR_MORE_DATA: not a DWORD, skipped.
    const LONG status = RegEnumValueW(key, index, name.data(), &length, nullptr, &type,
                                      reinterpret_cast<BYTE*>(&data), &size);
    if (status == ERROR_NO_MORE_ITEMS) return names;
    if (status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(data) && data == number)
      names.emplace_back(name.data(), length);
  }
}

bool HasValue(HKEY key, const wchar_t* name) {
  return RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name) {
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD size = sizeof(data);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(data))
    return std::nullopt;
  return data;
}

std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  text.resize(size / sizeof(wchar_t));
  // Stored data may or may not carry its terminator.
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

bool WriteDword(HKEY key, const wchar_t* name, DWORD number) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                        sizeof(number)) == ERROR_SUCCESS;
}
