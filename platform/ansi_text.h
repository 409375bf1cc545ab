#pragma once

// The thread's ANSI code page, as the probe needs it.

// Converts `units` UTF-16 units (the terminator included) into at most
// `out_size` bytes. Characters without a mapping become the code page's
// default character. Returns the bytes written, terminator included, or 0
// when the text cannot be converted or does not fit.
int WideToAnsi(const char16_t* wide, int units, char* out, int out_size);

// True when `byte` begins a double-byte character of the code page.
bool IsAnsiLeadByte(unsigned char byte);
