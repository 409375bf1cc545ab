// The start-up narrows the DLL search as far as the system allows: to
// System32 where SetDefaultDllDirectories exists and works, otherwise to the
// usual places less the current directory, and it says which it got.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "platform/win32/dll_search.h"

namespace {

// How the stand-in calls answer, and what they were asked, in one case.
struct StandIns {
  BOOL set_default_answer = TRUE;
  BOOL set_directory_answer = TRUE;
  int set_default_calls = 0;
  DWORD set_default_flags = 0;
  int set_directory_calls = 0;
  const wchar_t* set_directory_path = nullptr;
};
StandIns g_stand_ins;

BOOL WINAPI SetDefaultStandIn(DWORD flags) {
  ++g_stand_ins.set_default_calls;
  g_stand_ins.set_default_flags = flags;
  return g_stand_ins.set_default_answer;
}
BOOL WINAPI SetDirectoryStandIn(LPCWSTR path) {
  ++g_stand_ins.set_directory_calls;
  g_stand_ins.set_directory_path = path;
  return g_stand_ins.set_directory_answer;
}

enum class SetDefault { kWorks, kFails, kMissing };

struct ChoiceCase {
  const char* name;
  SetDefault set_default;
  BOOL set_directory_answer;
  DllSearch expected;
  bool falls_back;  // SetDllDirectoryW is called, with an empty path
};

// Missing or failing SetDefaultDllDirectories falls back to removing the
// current directory; SetDllDirectoryW is never called when System32 alone is
// already in force, and never with a null path, which restores the default.
const ChoiceCase kChoiceCases[] = {
    {"SetDefaultDllDirectoriesWorks", SetDefault::kWorks, TRUE, DllSearch::kSystem32Only, false},
    {"SetDefaultDllDirectoriesFails", SetDefault::kFails, TRUE,
     DllSearch::kCurrentDirectoryRemoved, true},
    {"SetDefaultDllDirectoriesMissing", SetDefault::kMissing, TRUE,
     DllSearch::kCurrentDirectoryRemoved, true},
    {"NeitherCallWorks", SetDefault::kMissing, FALSE, DllSearch::kUnchanged, true},
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class DllSearchChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(DllSearchChoice, TakesTheNarrowestSearchTheCallsAllow) {
  const ChoiceCase& c = GetParam();
  g_stand_ins = {};
  g_stand_ins.set_default_answer = c.set_default == SetDefault::kWorks;
  g_stand_ins.set_directory_answer = c.set_directory_answer;
  const DllSearchCalls calls = {
      c.set_default == SetDefault::kMissing ? nullptr : SetDefaultStandIn, SetDirectoryStandIn};

  EXPECT_EQ(RestrictDllSearch(calls), c.expected);

  EXPECT_EQ(g_stand_ins.set_default_calls, c.set_default == SetDefault::kMissing ? 0 : 1);
  if (g_stand_ins.set_default_calls) {
    EXPECT_EQ(g_stand_ins.set_default_flags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
  }
  EXPECT_EQ(g_stand_ins.set_directory_calls, c.falls_back ? 1 : 0);
  if (c.falls_back) {
    ASSERT_NE(g_stand_ins.set_directory_path, nullptr);
    EXPECT_STREQ(g_stand_ins.set_directory_path, L"");
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
