#pragma once

// The consent dialog class the run sequence constructs and shows: the real
// Win32 dialog in the Windows build, a scripted stand-in in the native one.
#if defined(_WIN32)
#include "ui/consent_dialog.h"
#else
#include "platform/memory/consent_dialog.h"
#endif
