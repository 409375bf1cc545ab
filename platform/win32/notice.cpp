#include "platform/notice.h"

#include "ui/framework/win_app.h"

void ShowCompletionNotice(const char* text) { AfxMessageBox(text, MB_OK, 0); }
