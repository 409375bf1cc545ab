#pragma once

// Dialog results the run sequence tells apart.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Exit codes, for the scripts that deploy the program.
inline constexpr int kExitDone = 0;             // already trusted, declined, or registered
inline constexpr int kExitFrameworkFailed = 1;  // the dialog framework could not start
inline constexpr int kExitNotRegistered = 2;    // consent given, but the site is not trusted

inline constexpr char kFatalInitText[] = "심각한 오류: MFC를 초기화하지 못했습니다.\n";
inline constexpr char16_t kCompletionText[] = u"신뢰할 수 있는 사이트 등록이 완료되었습니다.";
inline constexpr char16_t kFailureText[] = u"신뢰할 수 있는 사이트를 등록하지 못했습니다.";

// The whole run: probe, ask, and on consent write the registry and tell the
// user whether the site is now trusted. Returns the process exit code.
int RunOrvantaCtrl();
