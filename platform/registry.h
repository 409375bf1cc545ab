#pragma once

#include <array>
#include <cstdint>

// The registry as the writer sees it: the five operations it calls, in the
// shape of the Win32 ANSI functions. Every result is a Windows error code,
// 0 for success. platform/win32 calls advapi32; platform/memory keeps an
// in-memory store for tests.

using RegHandle = std::uintptr_t;
using RegStatus = std::int32_t;
using RegAccess = std::uint32_t;

inline constexpr RegHandle kNoKey = 0;
// HKEY_CURRENT_USER, sign-extended to pointer width as Windows defines it.
inline constexpr RegHandle kCurrentUser =
    static_cast<RegHandle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)));

inline constexpr RegStatus kRegSuccess = 0;
inline constexpr RegStatus kRegFileNotFound = 2;
inline constexpr RegStatus kRegAccessDenied = 5;
inline constexpr RegStatus kRegInvalidHandle = 6;
inline constexpr RegStatus kRegMoreData = 234;
inline constexpr RegStatus kRegKeyDeleted = 1018;

// The rights a key is opened with: only those the caller uses on it.
inline constexpr RegAccess kKeyQueryValue = 0x0001;
inline constexpr RegAccess kKeySetValue = 0x0002;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// REG_DWORD data as stored: four bytes, little-endian.
using DwordBytes = std::array<unsigned char, 4>;
inline constexpr DwordBytes EncodeDword(std::uint32_t value) {
  return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

// `root` is HKEY_CURRENT_USER or an open key; `path` is relative to it.

// Opens an existing key; never creates one.
RegStatus OpenRegistryKey(RegHandle root, const char* path, RegAccess access, RegHandle* key);
// Opens a key, creating it and any missing keys on its path (non-volatile, default security).
RegStatus CreateRegistryKey(RegHandle root, const char* path, RegAccess access, RegHandle* key);
// Reads a value's type and, when it fits in *size bytes, its data; *size receives the stored size.
RegStatus QueryRegistryValue(RegHandle key, const char* name, std::uint32_t* type,
                             unsigned char* data, std::uint32_t* size);
// Creates or overwrites a named value.
RegStatus SetRegistryValue(RegHandle key, const char* name, std::uint32_t type,
                           const unsigned char* data, std::uint32_t size);
RegStatus CloseRegistryKey(RegHandle key);
