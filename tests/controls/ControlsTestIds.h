// Resource and control ids of the control tests (shared by ControlsTest.rc and the tests).
#pragma once

// 700 x 500 PNG backgrounds, drawn by tests/graphics/data/make_test_images.py (formulas in
// the frame test).
#define IDP_OPAQUE 177  // RGB, every pixel from its position
#define IDP_ALPHA 186   // the same colours with an alpha channel
#define IDP_MISSING 999 // no such PNG

// 40 x 20 button faces, drawn by tests/controls/data/make_test_bitmaps.py.
#define IDB_FACE_NORMAL 401    // RGB(200, 40, 40)
#define IDB_FACE_HOVER 402     // RGB(40, 200, 40)
#define IDB_FACE_PRESSED 403   // RGB(40, 40, 200)
#define IDB_FACE_DISABLED 404  // RGB(120, 120, 120)
#define IDB_FACE_PATTERN 405   // RGB(10 + 5x, 20 + 10y, 200)
#define IDB_FACE_EMBOSS 406    // white, black 20 x 10 block at (10, 5)
#define IDB_MISSING 499        // no such bitmap

// A dialog template with the installer's styles: popup, caption, thick frame, app window.
#define IDD_FRAME 300
#define IDC_FRAME_PROGRESS 1015  // a progress bar inside the frame
