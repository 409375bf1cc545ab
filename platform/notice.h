#pragma once

// The box that ends a consented run: OK only, the application title as
// caption, no owner window. Each returns when the user has closed it.

// The site is registered: shown with the exclamation icon.
void ShowCompletionNotice(const char16_t* text);

// The site did not end up registered: shown with the stop icon.
void ShowFailureNotice(const char16_t* text);
