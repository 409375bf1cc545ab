#pragma once

#include <array>
#include <cstddef>

#include "app/site_profile.h"

// "root" + "\" + "component", joined when the program is compiled: every
// path the program opens from HKEY_CURRENT_USER is one of its constants, so
// there is nothing to build, or to cut short, at run time.
template <std::size_t RootSize, std::size_t ComponentSize>
constexpr std::array<char, RootSize + ComponentSize> JoinKeyPath(const char (&root)[RootSize],
                                                                 const char (&component)[ComponentSize]) {
  static_assert(sizeof(kPathSeparator) == 2, "the separator is one character");
  std::array<char, RootSize + ComponentSize> path = {};
  std::size_t at = 0;
  for (std::size_t i = 0; i + 1 < RootSize; ++i) path[at++] = root[i];
  path[at++] = kPathSeparator[0];
  for (std::size_t i = 0; i + 1 < ComponentSize; ++i) path[at++] = component[i];
  path[at] = '\0';
  return path;
}
