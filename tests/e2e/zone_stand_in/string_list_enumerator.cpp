#include "string_list_enumerator.h"

#include <cwchar>
#include <new>
#include <utility>

namespace {

// A copy in task memory, which IEnumString's caller frees; null when out of memory.
LPOLESTR TaskMemoryCopy(const std::wstring& text) {
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (copy) std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

StringListEnumerator::StringListEnumerator(std::shared_ptr<const ZoneMappingItems> items,
                                           std::size_t position)
    : items_(std::move(items)), position_(position) {}

HRESULT StringListEnumerator::Next(ULONG count, LPOLESTR* strings, ULONG* fetched) {
  if (!strings || (!fetched && count != 1)) return E_INVALIDARG;
  const std::size_t start = position_;
  ULONG given = 0;
  for (; given < count && position_ < items_->size(); ++given, ++position_) {
    const auto& item = (*items_)[position_];
    strings[given] = item ? TaskMemoryCopy(*item) : nullptr;
    if (item && !strings[given]) {  // out of memory: hand out nothing at all
      while (given > 0) CoTaskMemFree(strings[--given]);
      position_ = start;
      if (fetched) *fetched = 0;
      return E_OUTOFMEMORY;
    }
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

HRESULT StringListEnumerator::Skip(ULONG count) {
  const std::size_t left = items_->size() - position_;
  position_ += count < left ? count : left;
  return count <= left ? S_OK : S_FALSE;
}

HRESULT StringListEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT StringListEnumerator::Clone(IEnumString** copy) {
  if (!copy) return E_POINTER;
  *copy = new (std::nothrow) StringListEnumerator(items_, position_);
  return *copy ? S_OK : E_OUTOFMEMORY;
}
