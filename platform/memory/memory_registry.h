#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

// Case-insensitive like the Windows registry, for key paths and value names.
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct RegValue {
  std::uint32_t type = 0;
  std::vector<unsigned char> data;  // raw bytes, exactly as many as were stored

  bool operator==(const RegValue& other) const { return type == other.type && data == other.data; }
};

enum class RegOperation { kOpen, kCreate, kQuery, kSet, kClose };

// An in-memory HKEY_CURRENT_USER behind the registry seam. Paths are relative
// to HKEY_CURRENT_USER. Each operation is noted in the stand-in journal as
// "open <path> 0xf003f -> 0" and the like. A test seeds keys and values, makes any operation on
// a key (or on one value of it) fail, and reads back the whole state.
class MemoryRegistry {
 public:
  using Values = std::map<std::string, RegValue, CaseInsensitiveLess>;
  using State = std::map<std::string, Values, CaseInsensitiveLess>;

  void Reset();

  void AddKey(const std::string& path);
  void PutValue(const std::string& path, const std::string& name, RegValue value);
  void PutDword(const std::string& path, const std::string& name, std::uint32_t data);
  void PutString(const std::string& path, const std::string& name, const std::string& text);

  bool HasKey(const std::string& path) const;
  std::optional<RegValue> Value(const std::string& path, const std::string& name) const;
  const State& state() const { return keys_; }

  // Every later call of `operation` on the key at `path` (and, when given,
  // on the value `value_name` of it) fails with `code`.
  void Fail(RegOperation operation, const std::string& path, RegStatus code,
            const std::string& value_name = {});

  // Handles handed out and not yet closed successfully.
  std::size_t open_handles() const { return handles_.size(); }

  RegStatus Open(RegHandle root, const char* path, RegAccess access, RegHandle* key);
  RegStatus Create(RegHandle root, const char* path, RegAccess access, RegHandle* key);
  RegStatus Query(RegHandle key, const char* name, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size);
  RegStatus Set(RegHandle key, const char* name, std::uint32_t type, const unsigned char* data,
                std::uint32_t size);
  RegStatus Close(RegHandle key);

 private:
  struct OpenKey {
    std::string path;
    RegAccess access;
  };
  struct Failure {
    RegOperation operation;
    std::string path;
    std::string value_name;
    RegStatus code;
  };

  std::optional<RegStatus> InjectedFailure(RegOperation operation, const std::string& path,
                                           const char* value_name) const;
  std::optional<std::string> ResolvePath(RegHandle root, const char* path) const;
  RegStatus OpenOrCreate(RegOperation operation, RegHandle root, const char* path, RegAccess access,
                         RegHandle* key);
  RegStatus Record(const std::string& line, RegStatus status);

  State keys_;
  std::map<RegHandle, OpenKey> handles_;
  std::vector<Failure> failures_;
  RegHandle next_handle_ = 0x100;
};

// The store the registry seam uses in the native build.
MemoryRegistry& TestRegistry();
