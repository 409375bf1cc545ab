#pragma once

// Templates the framework tests show besides the consent dialog.
#define IDD_PLACED_TEST_DIALOG 2000
#define IDD_MISSING_TEST_DIALOG 2999  // deliberately not in any resource script
