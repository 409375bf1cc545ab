#include "app/run_sequence.h"

#include <cstdio>

#include "platform/consent_dialog.h"
#include "platform/notice.h"
#include "platform/startup.h"
#include "probe/trusted_zone_probe.h"
#include "registry/domain_registration.h"
#include "registry/popup_allow.h"

int RunOrvantaCtrl() {
  if (!InitializeFramework()) {
    std::fputs(kFatalInitText, stdout);
    std::fflush(stdout);
    return 1;
  }
  if (IsDomainInTrustedZone()) return 0;

  COrvantaRegRequest dialog(nullptr);
  InitializeCom();
  // Only OK counts as consent; a dialog that could not be created (-1) is a refusal.
  if (dialog.DoModal() != kIdOk) return 0;

  RegisterTrustedDomains();
  AllowDomainPopups();
  // Shown even when writes failed: the writer reports nothing by design.
  ShowCompletionNotice(kCompletionText);
  return 0;
}
