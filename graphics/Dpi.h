// The DPI rule: the dialog's layout is fixed in pixels, but fonts asked for in points grow with
// the screen's DPI. The dialog reads the horizontal DPI once and takes smaller fonts, a wider
// agreement check box and a shifted agreement link from the band it falls in.
#pragma once

#include <windows.h>

#include "framework/AfxGdi.h"
#include "framework/AfxString.h"
#include "framework/AfxWnd.h"

// The face of every font the dialog makes.
extern const char kDpiFontFace[];  // "Microsoft YaHei"

struct DpiBand {
    int nMinDpi;             // the band holds this DPI and more, up to the next band
    int nPathFontTenths;     // path fields' point font, tenths of a point (CreatePointFont)
    int nScaledFontPoints;   // agreement check box and link font, points (CreateScaledFont)
    int nCheckBoxWidth;      // agreement check box width, pixels
    int nLinkLeft;           // agreement link's left edge, pixels
};

// The band for a horizontal DPI (any value: below 120, including 0, is the lowest band).
const DpiBand& GetDpiBand(int nDpi);

// The screen's horizontal DPI (LOGPIXELSX); 0 when the screen DC is not available.
int GetScreenDpi();

// A new font owned by the caller: height -MulDiv(nPointSize, LOGPIXELSY of the screen, 72),
// weight 700 when bBold else 400, DEFAULT_CHARSET, FF_SWISS | DEFAULT_PITCH, the given face.
// When the font cannot be made the object has no handle.
CFont* CreateScaledFont(int nPointSize, CString strFaceName, BOOL bBold);
// The same for a given vertical DPI.
CFont* CreateScaledFontForDpi(int nPointSize, const CString& strFaceName, BOOL bBold, int nDpiY);

// Sets the outer height of pWnd and keeps its left, top and width. A child keeps its place
// in its parent's client area; any other window keeps its screen position.
void SetWindowHeight(CWnd* pWnd, int nHeight);
