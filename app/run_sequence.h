#pragma once

// Dialog results the run sequence tells apart.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

inline constexpr char kFatalInitText[] = "심각한 오류: MFC를 초기화하지 못했습니다.\n";
inline constexpr char kCompletionText[] = "신뢰할 수 있는 사이트 등록이 완료되었습니다.";

// The whole run: probe, ask, and on consent write the registry and confirm.
// Returns the process exit code: 1 when the framework cannot start, else 0.
int RunOrvantaCtrl();
