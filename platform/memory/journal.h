#pragma once

#include <string>
#include <vector>

// What the native stand-ins were asked to do, in call order: registry
// operations and the run's other platform calls, one line each.
std::vector<std::string>& Journal();
