// Resource ids of Installer.exe, shared by the resource script and the code.
// Plain #defines only: the resource compiler's preprocessor reads this file too.
#pragma once

// Manifest (RT_MANIFEST) and version block.
#define IDR_MANIFEST                 1
#define IDR_VERSION                  1

// String table.
#define IDS_ABOUTBOX                 101      // "关于 Installer(&A)...", system-menu entry

// The installer dialog template and its initialisation data (RT_DLGINIT, same id).
#define IDD_INSTALLER                102

// Application icon group (16, 32, 48 pixels, 32 bits).
#define IDI_APP                      128

// Controls of dialog 102.
#define IDC_PATH_FIELD               1007     // path field with browse button, kept hidden
#define IDC_AGREE                    1011     // agreement check box
#define IDC_LAUNCH                   1013     // launch button, finished screen
#define IDC_INSTALL                  1014     // install button, start screen
#define IDC_PROGRESS                 1015     // progress bar
#define IDC_INSTALL_DIR              1016     // install folder text, read-only
#define IDC_CLOSE                    1017     // close button
#define IDC_AGREEMENT_LINK           1018     // agreement page link
#define IDC_BROWSE                   1019     // folder-browse button

// System-menu command of the about entry.
#define IDM_ABOUTBOX                 0x0010

// PNG images, resource type "png" (700 x 500 backgrounds; the browse image 16 x 16).
#define IDP_BG_START                 177
#define IDP_BG_PROGRESS              185
#define IDP_BG_FINISHED              186
#define IDP_OPEN_SAVE_PATH           187      // open_save_path.png, path field's browse image

// Bitmaps, 24 bits per pixel unless noted.
#define IDB_CLOSE_HOVER              157      // 25 x 24
#define IDB_CLOSE_PRESSED            158      // 25 x 24, also the disabled face
#define IDB_CLOSE_NORMAL             159      // 25 x 24
#define IDB_INSTALL_DISABLED         160      // 160 x 45
#define IDB_INSTALL_HOVER            161      // 160 x 45
#define IDB_INSTALL_NORMAL           162      // 160 x 45
#define IDB_INSTALL_PRESSED          163      // 160 x 45
#define IDB_CHECK_CHECKED            167      // 24 x 24, 32 bits per pixel
#define IDB_CHECK_UNCHECKED          168      // 24 x 24, 32 bits per pixel
#define IDB_LAUNCH_HOVER             170      // 160 x 45
#define IDB_LAUNCH_NORMAL            172      // 160 x 45
#define IDB_LAUNCH_PRESSED           175      // 160 x 45, also the disabled face
#define IDB_BROWSE_HOVER             179      // 32 x 32
#define IDB_BROWSE_NORMAL            180      // 32 x 32
#define IDB_BROWSE_PRESSED           181      // 32 x 32, also the disabled face

// Resource type of the dialog initialisation data and its one message: the path field's
// browse mode, sent as text.
#define RT_DLGINIT_TYPE              240
#define WM_EDITBROWSE_INIT           0x037C   // AFX_WM_INITCTRL, what the framework reads
