#pragma once

// Resource ids shared by OrvantaCtrl.rc and the code that loads the resources.

#define IDS_NOTICE          101
#define IDI_DIALOG_ICON     102

#define IDD_CONSENT_DIALOG  1000
#define IDC_GROUP_FRAME     1001
#define IDC_AGREE_CHECK     1002
#define IDC_TITLE_TEXT      1003
#define IDC_NOTICE_TEXT     1004
