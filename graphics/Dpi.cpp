#include "graphics/Dpi.h"

#include <climits>
#include <iterator>

const char kDpiFontFace[] = "Microsoft YaHei";

namespace {

// Tested from the top: the first band whose minimum the DPI reaches.
const DpiBand kDpiBands[] = {
    // min DPI, path font (tenths), scaled font (points), check box width, link x
    {144, 75, 9, 222, 425},
    {120, 82, 10, 216, 416},
    {INT_MIN, 100, 13, 200, 412},
};

int ScreenCaps(int nIndex)
{
    HDC hScreen = ::GetDC(nullptr);
    int value = ::GetDeviceCaps(hScreen, nIndex);  // 0 for a null DC
    ::ReleaseDC(nullptr, hScreen);
    return value;
}

}  // namespace

const DpiBand& GetDpiBand(int nDpi)
{
    for (const DpiBand& band : kDpiBands)
        if (nDpi >= band.nMinDpi) return band;
    return kDpiBands[std::size(kDpiBands) - 1];
}

int GetScreenDpi() { return ScreenCaps(LOGPIXELSX); }

CFont* CreateScaledFont(int nPointSize, CString strFaceName, BOOL bBold)
{
    return CreateScaledFontForDpi(nPointSize, strFaceName, bBold, ScreenCaps(LOGPIXELSY));
}

CFont* CreateScaledFontForDpi(int nPointSize, const CString& strFaceName, BOOL bBold, int nDpiY)
{
    auto* pFont = new CFont;
    pFont->CreateFont(-MulDiv(nPointSize, nDpiY, 72), 0, 0, 0, bBold ? FW_BOLD : FW_NORMAL,
                      FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, strFaceName);
    return pFont;
}

void SetWindowHeight(CWnd* pWnd, int nHeight)
{
    if (!pWnd || !pWnd->m_hWnd) return;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    // Only a child's position is relative to its parent. GetParent also answers the owner of
    // a top-level window, whose client coordinates would move the window.
    if ((pWnd->GetStyle() & WS_CHILD) && ::GetParent(pWnd->m_hWnd))
        pWnd->GetParent()->ScreenToClient(&rect);
    rect.bottom = rect.top + nHeight;
    pWnd->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}
