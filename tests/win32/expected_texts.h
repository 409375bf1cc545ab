#pragma once

#include <iterator>
#include <string>

#include "app/site_profile.h"

// The texts the dialog shows, in UTF-16 as the wide functions read them back.
inline const std::wstring kDialogCaption = L"신뢰할 수 있는 사이트 추가";
inline const std::wstring kBoldFaceName = L"굴림";

// Eight lines joined by line feeds alone. The notice names the pattern the
// program registers (ASCII, so it widens unit by unit).
inline std::wstring ExpectedNotice() {
  const std::string pattern = kWildcardPattern;
  const std::wstring lines[] = {
      L"Windows 7 이상의 운영체제를 사용하고 있는 경우,",
      L"프로그램 차단 기능으로 인해 정상적으로 Kelvaro를 사용하지 못할 수 있습니다.",
      L"",
      L"'동의합니다.'선택 후 확인버튼을 누르면 아래 등록URL을 신뢰할 수 있는 사이트로 등록합니다.",
      L"",
      L" -등록URL : " + std::wstring(pattern.begin(), pattern.end()),
      L"",
      L"만약, 추가된 사이트를 제거하기 위해서는 [제어판] -> [프로그램 및 기능]에서 'OrvantaSetup'을 제거하십시오.",
  };
  std::wstring notice = lines[0];
  for (std::size_t i = 1; i < std::size(lines); ++i) notice += L"\n" + lines[i];
  return notice;
}
