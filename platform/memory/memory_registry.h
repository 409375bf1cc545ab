#pragma once

#include <cstdint>
#include <functional>
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

  // The key's permissions grant only `allowed`: opening it (or creating it
  // when it exists) with any other right is refused, as Windows refuses it.
  void Restrict(const std::string& path, RegAccess allowed);

  // Deletes the key and everything beneath it. Handles still open on it
  // answer ERROR_KEY_DELETED from then on, as on Windows.
  void RemoveKey(const std::string& path);

  // Runs `action` once, just before the next call of `operation` on the key
  // at `path`: another program changing the registry mid-stage.
  void Before(RegOperation operation, const std::string& path, std::function<void()> action);

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
  struct Interruption {
    RegOperation operation;
    std::string path;
    std::function<void()> action;
  };

  std::optional<RegStatus> InjectedFailure(RegOperation operation, const std::string& path,
                                           const char* value_name) const;
  // The full path of `path` beneath `root`, or the error of a bad or deleted root.
  RegStatus ResolvePath(RegHandle root, const char* path, std::string* full) const;
  void Interrupt(RegOperation operation, const std::string& path);
  // Whether the key's permissions grant `access`, or, for a key not there
  // yet, allow creating it beneath its parent.
  bool Permits(const std::string& path, RegAccess access) const;
  // The open key behind `key`, or null with `status` set.
  const OpenKey* Held(RegHandle key, RegStatus* status) const;
  RegStatus OpenOrCreate(RegOperation operation, RegHandle root, const char* path, RegAccess access,
                         RegHandle* key);
  RegStatus Record(const std::string& line, RegStatus status);

  State keys_;
  std::map<RegHandle, OpenKey> handles_;
  std::vector<Failure> failures_;
  std::vector<Interruption> interruptions_;
  std::map<std::string, RegAccess, CaseInsensitiveLess> permissions_;
  RegHandle next_handle_ = 0x100;
};

// The store the registry seam uses in the native build.
MemoryRegistry& TestRegistry();
