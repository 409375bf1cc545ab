#pragma once

#include <cstdint>

// Stands in for the consent dialog: notes its life in the journal and ends
// with the scripted result.
class COrvantaRegRequest {
 public:
  explicit COrvantaRegRequest(void* parent);
  ~COrvantaRegRequest();
  COrvantaRegRequest(const COrvantaRegRequest&) = delete;
  COrvantaRegRequest& operator=(const COrvantaRegRequest&) = delete;

  std::intptr_t DoModal();
};
