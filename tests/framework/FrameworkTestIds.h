// Resource and control ids of the framework tests (shared by FrameworkTest.rc and the tests).
#pragma once

#define IDS_ABOUT 101          // "关于 Installer(&A)..."
#define IDI_APP 128            // icon group 16, 32, 48
#define IDB_PLAIN 300          // 20 x 10 bitmap, RGB(12, 34, 56)
#define IDD_CONTROLS 200       // dialog with the controls below and initialisation data
#define IDD_NO_INIT_DATA 201   // dialog whose MfcEditBrowse control has no initialisation data
#define IDD_MISSING 299        // no such dialog

#define IDC_OWNERDRAW 1001     // owner-drawn button
#define IDC_EDIT 1002          // edit
#define IDC_PROGRESS 1003      // progress bar
#define IDC_BROWSE 1004        // MfcEditBrowse in folder mode
#define IDC_BROWSE_PLAIN 1005  // MfcEditBrowse without a mode
#define IDC_CHECK 1006         // check box subclassed by SubclassDlgItem
