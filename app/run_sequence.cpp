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
    return kExitFrameworkFailed;
  }
  if (IsDomainInTrustedZone()) return kExitDone;

  COrvantaRegRequest dialog(nullptr);
  InitializeCom();
  // Only OK counts as consent; a dialog that could not be created (-1) is a refusal.
  if (dialog.DoModal() != kIdOk) return kExitDone;

  RegisterTrustedDomains();
  AllowDomainPopups();
  // The stages skip what they cannot write and say nothing; the zone map
  // itself tells whether the site is trusted now. The zone actions and the
  // pop-up entry are extras that a profile may lack on purpose.
  if (!AreTargetDomainsTrusted()) {
    ShowFailureNotice(kFailureText);
    return kExitNotRegistered;
  }
  ShowCompletionNotice(kCompletionText);
  return kExitDone;
}
