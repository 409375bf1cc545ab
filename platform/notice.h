#pragma once

// Shows the completion message: an OK-only box with the application title as
// caption and no owner window. Returns when the user has closed it.
void ShowCompletionNotice(const char* text);
