// The start-up narrows the DLL search as far as the system allows: to
// System32 where SetDefaultDllDirectories exists and works, otherwise to the
// usual places less the current directory, and it says which it got.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "platform/win32/dll_search.h"

namespace {

// What the stand-in calls were asked, for one case.
struct Asked {
  int set_default_calls = 0;
  DWORD set_default_flags = 0;
  int set_directory_calls = 0;
  const wchar_t* set_directory_path = nullptr;
};
Asked g_asked;

BOOL WINAPI SetDefaultSucceeds(DWORD flags) {
  ++g_asked.set_default_calls;
  g_asked.set_default_flags = flags;
  return TRUE;
}
BOOL WINAPI SetDefaultFails(DWORD flags) {
  SetDefaultSucceeds(flags);
  return FALSE;
}
BOOL WINAPI SetDirectorySucceeds(LPCWSTR path) {
  ++g_asked.set_directory_calls;
  g_asked.set_directory_path = path;
  return TRUE;
}
BOOL WINAPI SetDirectoryFails(LPCWSTR path) {
  SetDirectorySucceeds(path);
  return FALSE;
}

struct ChoiceCase {
  const char* name;
  DllSearchCalls calls;
  DllSearch expected;
  bool falls_back;  // SetDllDirectoryW is called, with an empty path
};

// Missing (null) or failing SetDefaultDllDirectories falls back to removing
// the current directory; SetDllDirectoryW is never called when System32 alone
// is already in force, and never with a null path, which restores the default.
const ChoiceCase kChoiceCases[] = {
    {"SetDefaultDllDirectoriesWorks", {SetDefaultSucceeds, SetDirectorySucceeds},
     DllSearch::kSystem32Only, false},
    {"SetDefaultDllDirectoriesFails", {SetDefaultFails, SetDirectorySucceeds},
     DllSearch::kCurrentDirectoryRemoved, true},
    {"SetDefaultDllDirectoriesMissing", {nullptr, SetDirectorySucceeds},
     DllSearch::kCurrentDirectoryRemoved, true},
    {"NeitherCallWorks", {nullptr, SetDirectoryFails}, DllSearch::kUnchanged, true},
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class DllSearchChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(DllSearchChoice, TakesTheNarrowestSearchTheCallsAllow) {
  const ChoiceCase& c = GetParam();
  g_asked = {};

  EXPECT_EQ(RestrictDllSearch(c.calls), c.expected);

  if (c.calls.set_default_dll_directories) {
    EXPECT_EQ(g_asked.set_default_calls, 1);
    EXPECT_EQ(g_asked.set_default_flags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
  }
  EXPECT_EQ(g_asked.set_directory_calls, c.falls_back ? 1 : 0);
  if (c.falls_back) {
    ASSERT_NE(g_asked.set_directory_path, nullptr);
    EXPECT_STREQ(g_asked.set_directory_path, L"");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DllSearchChoice, testing::ValuesIn(kChoiceCases),
                         [](const testing::TestParamInfo<ChoiceCase>& info) {
                           return std::string(info.param.name);
                         });

// This system's kernel32 (Wine's has SetDefaultDllDirectories) yields the very
// functions the loader binds to these names.
TEST(SystemDllSearchCalls, FindsKernel32sFunctions) {
  const DllSearchCalls calls = SystemDllSearchCalls();

  EXPECT_EQ(calls.set_default_dll_directories, &SetDefaultDllDirectories);
  EXPECT_EQ(calls.set_dll_directory, &SetDllDirectoryW);
}

// A folder of its own, made the current directory, holding a DLL that no
// system has: orvanta_planted.dll.
class PlantedDll : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"orvanta-dll-search-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    // Any image will do; the executable that ships is at hand.
    ASSERT_TRUE(CopyFileW(L"" ORVANTA_EXE_PATH, Planted().c_str(), TRUE));
    GetCurrentDirectoryW(MAX_PATH, previous_);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
  }
  void TearDown() override {
    SetCurrentDirectoryW(previous_);
    DeleteFileW(Planted().c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  static bool Loads() {
    const HMODULE module = LoadLibraryW(L"orvanta_planted.dll");
    if (module) FreeLibrary(module);
    return module != nullptr;
  }

 private:
  std::wstring Planted() const { return folder_ + L"\\orvanta_planted.dll"; }

  std::wstring folder_;
  wchar_t previous_[MAX_PATH] = {};
};

// The planted DLL loads while the search is the usual one, and no longer once
// it is narrowed. Narrowing lasts for the process; under ctest each test runs
// in a process of its own. Wine ignores the fallback's empty path, so its
// effect shows only on Windows.
TEST_F(PlantedDll, IsNotLoadedFromTheCurrentDirectoryOnceNarrowed) {
  EXPECT_TRUE(Loads()) << "the plant must load before narrowing, or this test proves nothing";

  EXPECT_EQ(RestrictDllSearch(SystemDllSearchCalls()), DllSearch::kSystem32Only);
  EXPECT_FALSE(Loads());
}

}  // namespace
