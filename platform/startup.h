#pragma once

// Start-up services the run sequence calls before anything else.

// Initialises the dialog framework for this process; false when it cannot.
bool InitializeFramework();

// Initialises COM on this thread as a single-threaded apartment. The result
// is not examined: a second initialisation only raises the count.
void InitializeCom();
