#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/memory/journal.h"

namespace {

constexpr RegAccess kCreateSubKeyRight = 0x0004;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameText(const std::string& a, const std::string& b) {
  return !CaseInsensitiveLess{}(a, b) && !CaseInsensitiveLess{}(b, a);
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%x", value);
  return text;
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

MemoryRegistry& TestRegistry() {
  static MemoryRegistry registry;
  return registry;
}

void MemoryRegistry::Reset() { *this = MemoryRegistry(); }

void MemoryRegistry::AddKey(const std::string& path) {
  // Like RegCreateKeyEx, every missing key on the path comes into being.
  for (std::size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1)) {
    keys_.try_emplace(path.substr(0, end));
  }
  keys_.try_emplace(path);
}

void MemoryRegistry::PutValue(const std::string& path, const std::string& name, RegValue value) {
  AddKey(path);
  keys_[path][name] = std::move(value);
}

void MemoryRegistry::PutDword(const std::string& path, const std::string& name, std::uint32_t data) {
  const DwordBytes bytes = EncodeDword(data);
  PutValue(path, name, {kRegDword, {bytes.begin(), bytes.end()}});
}

void MemoryRegistry::PutString(const std::string& path, const std::string& name,
                               const std::string& text) {
  std::vector<unsigned char> bytes(text.begin(), text.end());
  bytes.push_back(0);
  PutValue(path, name, {kRegSz, std::move(bytes)});
}

bool MemoryRegistry::HasKey(const std::string& path) const { return keys_.count(path) != 0; }

std::optional<RegValue> MemoryRegistry::Value(const std::string& path, const std::string& name) const {
  const auto key = keys_.find(path);
  if (key == keys_.end()) return std::nullopt;
  const auto value = key->second.find(name);
  if (value == key->second.end()) return std::nullopt;
  return value->second;
}

void MemoryRegistry::Fail(RegOperation operation, const std::string& path, RegStatus code,
                          const std::string& value_name) {
  failures_.push_back({operation, path, value_name, code});
}

void MemoryRegistry::Restrict(const std::string& path, RegAccess allowed) {
  permissions_[path] = allowed;
}

void MemoryRegistry::RemoveKey(const std::string& path) {
  for (auto key = keys_.begin(); key != keys_.end();) {
    const bool beneath = key->first.size() > path.size() && key->first[path.size()] == '\\' &&
                         SameText(key->first.substr(0, path.size()), path);
    key = SameText(key->first, path) || beneath ? keys_.erase(key) : std::next(key);
  }
}

void MemoryRegistry::Before(RegOperation operation, const std::string& path,
                            std::function<void()> action) {
  interruptions_.push_back({operation, path, std::move(action)});
}

void MemoryRegistry::Interrupt(RegOperation operation, const std::string& path) {
  for (auto it = interruptions_.begin(); it != interruptions_.end(); ++it) {
    if (it->operation != operation || !SameText(it->path, path)) continue;
    const std::function<void()> action = std::move(it->action);
    interruptions_.erase(it);
    action();
    return;
  }
}

std::optional<RegStatus> MemoryRegistry::InjectedFailure(RegOperation operation,
                                                         const std::string& path,
                                                         const char* value_name) const {
  for (const Failure& failure : failures_) {
    if (failure.operation != operation || !SameText(failure.path, path)) continue;
    if (!failure.value_name.empty() && (!value_name || !SameText(failure.value_name, value_name))) {
      continue;
    }
    return failure.code;
  }
  return std::nullopt;
}

bool MemoryRegistry::Permits(const std::string& path, RegAccess access) const {
  if (HasKey(path)) {
    const auto permission = permissions_.find(path);
    return permission == permissions_.end() || (access & ~permission->second) == 0;
  }
  // A new key needs the right to create sub-keys on its parent.
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return true;
  const auto parent = permissions_.find(path.substr(0, slash));
  return parent == permissions_.end() || (parent->second & kCreateSubKeyRight) != 0;
}

const MemoryRegistry::OpenKey* MemoryRegistry::Held(RegHandle key, RegStatus* status) const {
  const auto open = handles_.find(key);
  if (open == handles_.end()) {
    *status = kRegInvalidHandle;
    return nullptr;
  }
  if (!HasKey(open->second.path)) {
    *status = kRegKeyDeleted;
    return nullptr;
  }
  return &open->second;
}

RegStatus MemoryRegistry::ResolvePath(RegHandle root, const char* path, std::string* full) const {
  const std::string relative = path ? path : "";
  if (root == kCurrentUser) {
    *full = relative;
    return kRegSuccess;
  }
  const auto open = handles_.find(root);
  if (open == handles_.end()) return kRegInvalidHandle;
  const std::string& base = open->second.path;
  *full = relative.empty() ? base : base + "\\" + relative;
  return HasKey(base) ? kRegSuccess : kRegKeyDeleted;
}

RegStatus MemoryRegistry::Record(const std::string& line, RegStatus status) {
  Journal().push_back(line + " -> " + std::to_string(status));
  return status;
}

RegStatus MemoryRegistry::OpenOrCreate(RegOperation operation, RegHandle root, const char* path,
                                       RegAccess access, RegHandle* key) {
  const bool create = operation == RegOperation::kCreate;
  std::string full;
  const RegStatus resolved = ResolvePath(root, path, &full);
  const std::string line = std::string(create ? "create " : "open ") +
                           (full.empty() && resolved ? "?" : full) + " " + Hex(access);
  if (resolved != kRegSuccess) return Record(line, resolved);
  Interrupt(operation, full);
  if (const auto failure = InjectedFailure(operation, full, nullptr)) return Record(line, *failure);
  // A root deleted by an interruption is gone for this call too.
  if (root != kCurrentUser && !HasKey(handles_.at(root).path)) return Record(line, kRegKeyDeleted);
  if (!create && !full.empty() && !HasKey(full)) return Record(line, kRegFileNotFound);

  if (!Permits(full, access)) return Record(line, kRegAccessDenied);
  if (create && !full.empty()) AddKey(full);
  const RegHandle handle = next_handle_++;
  handles_[handle] = {full, access};
  *key = handle;
  return Record(line, kRegSuccess);
}

RegStatus MemoryRegistry::Open(RegHandle root, const char* path, RegAccess access, RegHandle* key) {
  return OpenOrCreate(RegOperation::kOpen, root, path, access, key);
}

RegStatus MemoryRegistry::Create(RegHandle root, const char* path, RegAccess access, RegHandle* key) {
  return OpenOrCreate(RegOperation::kCreate, root, path, access, key);
}

RegStatus MemoryRegistry::Query(RegHandle key, const char* name, std::uint32_t* type,
                                unsigned char* data, std::uint32_t* size) {
  RegStatus status = kRegSuccess;
  const OpenKey* open = Held(key, &status);
  const std::string line = "query " + (open ? open->path : "?") + " " + (name ? name : "");
  if (!open) return Record(line, status);
  if ((open->access & kKeyQueryValue) == 0) return Record(line, kRegAccessDenied);
  if (const auto failure = InjectedFailure(RegOperation::kQuery, open->path, name)) {
    return Record(line, *failure);
  }
  const std::optional<RegValue> value = Value(open->path, name ? name : "");
  if (!value) return Record(line, kRegFileNotFound);

  if (type) *type = value->type;
  const auto stored = static_cast<std::uint32_t>(value->data.size());
  if (data && size && *size < stored) {
    *size = stored;
    return Record(line, kRegMoreData);
  }
  if (data && stored != 0) std::memcpy(data, value->data.data(), stored);
  if (size) *size = stored;
  return Record(line, kRegSuccess);
}

RegStatus MemoryRegistry::Set(RegHandle key, const char* name, std::uint32_t type,
                              const unsigned char* data, std::uint32_t size) {
  RegStatus status = kRegSuccess;
  const OpenKey* open = Held(key, &status);
  const std::string line = "set " + (open ? open->path : "?") + " " + (name ? name : "");
  if (!open) return Record(line, status);
  if ((open->access & kKeySetValue) == 0) return Record(line, kRegAccessDenied);
  if (const auto failure = InjectedFailure(RegOperation::kSet, open->path, name)) {
    return Record(line, *failure);
  }
  PutValue(open->path, name ? name : "", {type, {data, data + size}});
  return Record(line, kRegSuccess);
}

RegStatus MemoryRegistry::Close(RegHandle key) {
  const auto open = handles_.find(key);
  const std::string line = "close " + (open == handles_.end() ? "?" : open->second.path);
  if (open == handles_.end()) return Record(line, kRegInvalidHandle);
  // A close that fails leaves the handle open, as a real failure would.
  if (const auto failure = InjectedFailure(RegOperation::kClose, open->second.path, nullptr)) {
    return Record(line, *failure);
  }
  handles_.erase(open);
  return Record(line, kRegSuccess);
}

RegStatus OpenRegistryKey(RegHandle root, const char* path, RegAccess access, RegHandle* key) {
  return TestRegistry().Open(root, path, access, key);
}

RegStatus CreateRegistryKey(RegHandle root, const char* path, RegAccess access, RegHandle* key) {
  return TestRegistry().Create(root, path, access, key);
}

RegStatus QueryRegistryValue(RegHandle key, const char* name, std::uint32_t* type,
                             unsigned char* data, std::uint32_t* size) {
  return TestRegistry().Query(key, name, type, data, size);
}

RegStatus SetRegistryValue(RegHandle key, const char* name, std::uint32_t type,
                           const unsigned char* data, std::uint32_t size) {
  return TestRegistry().Set(key, name, type, data, size);
}

RegStatus CloseRegistryKey(RegHandle key) { return TestRegistry().Close(key); }
