#include "framework/AfxGdi.h"

#include "framework/AfxApp.h"
#include "framework/AfxTempMap.h"
#include "framework/AfxWnd.h"

namespace {

template <class T>
T* TempGdiObject(HGDIOBJ hObject)
{
    return afx_detail::GetTempMap<T, HGDIOBJ>(&CGdiObject::m_hObject).Get(hObject);
}

}  // namespace

// ---- CGdiObject and kin ----------------------------------------------------------------

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return TempGdiObject<CGdiObject>(hObject); }
CPen* CPen::FromHandle(HPEN hPen) { return TempGdiObject<CPen>(hPen); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return TempGdiObject<CBrush>(hBrush); }
CFont* CFont::FromHandle(HFONT hFont) { return TempGdiObject<CFont>(hFont); }
CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) { return TempGdiObject<CBitmap>(hBitmap); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) { return afx_detail::AttachHandle(m_hObject, hObject); }
HGDIOBJ CGdiObject::Detach() { return afx_detail::DetachHandle(m_hObject); }

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCSTR lpszFacename)
{
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    int dpiY;
    if (pDC && pDC->m_hDC) {
        dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    } else {
        HDC hScreen = ::GetDC(nullptr);
        dpiY = ::GetDeviceCaps(hScreen, LOGPIXELSY);
        ::ReleaseDC(nullptr, hScreen);
    }
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -MulDiv(dpiY, nPointSize, 720);
    if (lpszFaceName) lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCEA(nIDResource));
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

// ---- CDC ---------------------------------------------------------------------------------

CDC::~CDC() { DeleteDC(); }

CDC* CDC::FromHandle(HDC hDC)
{
    return afx_detail::GetTempMap<CDC, HDC>(&CDC::m_hDC).Get(hDC);
}

BOOL CDC::Attach(HDC hDC) { return afx_detail::AttachHandle(m_hDC, hDC); }
HDC CDC::Detach() { return afx_detail::DetachHandle(m_hDC); }

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (!pPen) return nullptr;
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush) return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    if (!pFont) return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!pBitmap) return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (!pObject) return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, clr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y,
                        size.cx, size.cy, DST_BITMAP | nFlags);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const
{
    SIZE size{};
    ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return CSize(size);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (m_hDC) ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    Detach();
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    Detach();
}

CMemDC::CMemDC(CDC& dc, CWnd* pWnd) : m_dc(dc)
{
    if (pWnd && pWnd->m_hWnd) ::GetClientRect(pWnd->m_hWnd, &m_rect);
    m_memDC.CreateCompatibleDC(&dc);
    if (m_bitmap.CreateCompatibleBitmap(&dc, m_rect.Width(), m_rect.Height()))
        m_hOldBitmap = ::SelectObject(m_memDC.m_hDC, m_bitmap.m_hObject);
}

CMemDC::~CMemDC()
{
    if (!m_hOldBitmap) return;  // no bitmap (an empty client area): nothing was drawn
    m_dc.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), &m_memDC, 0, 0, SRCCOPY);
    ::SelectObject(m_memDC.m_hDC, m_hOldBitmap);
}
