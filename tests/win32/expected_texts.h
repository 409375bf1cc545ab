#pragma once

#include <iterator>
#include <string>

#include "app/site_profile.h"

// The texts the dialog shows, as code page 949 bytes (narrow literals are
// compiled to it). The notice names the pattern the program registers.
inline const std::string kDialogCaption = "신뢰할 수 있는 사이트 추가";
inline const std::string kBoldFaceName = "굴림";

// Eight lines joined by line feeds alone.
inline std::string ExpectedNotice() {
  const std::string lines[] = {
      "Windows 7 이상의 운영체제를 사용하고 있는 경우,",
      "프로그램 차단 기능으로 인해 정상적으로 Kelvaro를 사용하지 못할 수 있습니다.",
      "",
      "'동의합니다.'선택 후 확인버튼을 누르면 아래 등록URL을 신뢰할 수 있는 사이트로 등록합니다.",
      "",
      std::string(" -등록URL : ") + kWildcardPattern,
      "",
      "만약, 추가된 사이트를 제거하기 위해서는 [제어판] -> [프로그램 및 기능]에서 'OrvantaSetup'을 제거하십시오.",
  };
  std::string notice = lines[0];
  for (std::size_t i = 1; i < std::size(lines); ++i) notice += "\n" + lines[i];
  return notice;
}
