#pragma once

#include <windows.h>

#include <string>

// Prints what a person sees of `window` as "label.key=value" lines: its
// caption, owner, placement against the screen, and each direct child control
// by id (class, text, enabled, visible, style, screen rectangle, and the check
// state of check boxes). Returns false when the window is gone or hangs.
bool ReportWindow(const std::string& label, HWND window);

// Which standard message-box icon the icon control of `window` shows, judged
// by comparing the pixels on the screen with the system's icons drawn here:
// "exclamation", "information", "error", "question", or "" when none matches.
std::string RecognizeStandardIcon(HWND window);
