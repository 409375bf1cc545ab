#pragma once

#include <objidl.h>

#include <memory>

#include "com_object.h"
#include "scenario_answer.h"

// Hands out a fixed list of strings, null items included, as IEnumString.
class StringListEnumerator final : public ComObject<IEnumString, IID_IEnumString> {
 public:
  // Starts with one reference, the caller's.
  explicit StringListEnumerator(std::shared_ptr<const ZoneMappingItems> items,
                                std::size_t position = 0);

  HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumString** copy) override;

 private:
  std::shared_ptr<const ZoneMappingItems> items_;
  std::size_t position_;
};
