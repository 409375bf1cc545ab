#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

struct RegistryKeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
// An open registry key, closed when it goes out of scope.
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

// The key at `path` below `parent` opened for reading; empty when it cannot be.
UniqueKey OpenKeyForReading(HKEY parent, const std::wstring& path);

// The key at `path` below `parent`, created when missing, opened for reading
// and writing its values; empty when it cannot be.
UniqueKey CreateKeyForWriting(HKEY parent, const std::wstring& path);

// The names of the key's sub-keys; those that cannot be read are left out.
std::vector<std::wstring> SubKeyNames(HKEY key);

// The names of the key's REG_DWORD values whose data is `number`.
std::vector<std::wstring> DwordValuesEqualTo(HKEY key, DWORD number);

// Whether the key has a value of that name, of any type.
bool HasValue(HKEY key, const wchar_t* name);

// A REG_DWORD value; nothing when it is missing or of another type.
std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name);

// A REG_SZ value; nothing when it is missing or of another type.
std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name);

// Sets a REG_DWORD value; false when it could not be written.
bool WriteDword(HKEY key, const wchar_t* name, DWORD number);
