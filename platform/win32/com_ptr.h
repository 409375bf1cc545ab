#pragma once

#include <unknwn.h>

// Owns one COM interface pointer and releases it when it goes.
template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  void reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }
  // For out-parameters: releases what is held and hands out the slot.
  void** put_void() {
    reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  Interface** put() {
    reset();
    return &pointer_;
  }

 private:
  Interface* pointer_ = nullptr;
};

// A string handed out by COM, freed with the task allocator.
class CoTaskString {
 public:
  CoTaskString() = default;
  ~CoTaskString() { CoTaskMemFree(text_); }
  CoTaskString(const CoTaskString&) = delete;
  CoTaskString& operator=(const CoTaskString&) = delete;

  const wchar_t* get() const { return text_; }
  LPOLESTR* put() {
    CoTaskMemFree(text_);
    text_ = nullptr;
    return &text_;
  }

 private:
  LPOLESTR text_ = nullptr;
};
