// Owners of GDI handles: CGdiObject with CPen, CBrush, CFont and CBitmap, and the device
// contexts CDC, CPaintDC, CClientDC and CWindowDC, with CMemDC for painting off-screen.
//
// An object owns the handle it created or was given with Attach and deletes it in its
// destructor; Detach hands the handle over. Objects move but do not copy. FromHandle returns
// a temporary, non-owning wrapper (valid until the current message handler returns).
#pragma once

#include <windows.h>

#include "framework/AfxString.h"
#include "framework/AfxTypes.h"

class CDC;

class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) {
            DeleteObject();
            m_hObject = other.Detach();
        }
        return *this;
    }

    static CGdiObject* FromHandle(HGDIOBJ hObject);

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    // Takes ownership; FALSE when this object already holds a handle or hObject is null.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const
    {
        return ::GetObjectA(m_hObject, nCount, lpObject);
    }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    static CPen* FromHandle(HPEN hPen);
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    static CBrush* FromHandle(HBRUSH hBrush);
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    static CFont* FromHandle(HFONT hFont);
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont)
    {
        return Attach(::CreateFontIndirectA(lpLogFont));
    }
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                    BYTE nPitchAndFamily, LPCSTR lpszFacename);
    // A normal font of nPointSize tenths of a point: the height is
    // -MulDiv(LOGPIXELSY, nPointSize, 720) of pDC, or of the screen when pDC is null;
    // character set DEFAULT_CHARSET, every other attribute at its default.
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    static CBitmap* FromHandle(HBITMAP hBitmap);
    // From the bitmap resources of AfxGetResourceHandle().
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

// A device context. A DC made with CreateCompatibleDC or given with Attach is deleted by the
// destructor; CPaintDC, CClientDC and CWindowDC release theirs the way they got it.
class CDC {
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC* FromHandle(HDC hDC);

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* pDC);

    // Each returns the object that was selected before (a temporary wrapper), or null.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CGdiObject* SelectStockObject(int nIndex);

    // Fills with a colour; the DC's background colour is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    BOOL FillRect(LPCRECT lpRect, CBrush* pBrush)
    {
        return ::FillRect(m_hDC, lpRect, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr);
    }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }

    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc,
                        ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop)
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr,
                            xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
    }
    BOOL GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements,
                      DWORD dwMode)
    {
        // gdi32's own entry; msimg32's GradientFill only forwards to it.
        return ::GdiGradientFill(m_hDC, pVertices, nVertices, pMesh, nMeshElements, dwMode);
    }
    // Draws a bitmap with DrawState (DST_BITMAP plus nFlags, for example DSS_DISABLED).
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = nullptr);
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount)
    {
        return ::TextOutA(m_hDC, x, y, lpszString, nCount);
    }
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    CSize GetTextExtent(LPCSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
};

class CWnd;

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// GetDC in the constructor, ReleaseDC in the destructor.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// GetWindowDC (the whole window, frame included) / ReleaseDC.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

// Selects an object into a DC for one scope and selects the previous one back at its end.
class CAutoSelect {
public:
    CAutoSelect(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC), m_hOld(hDC && hObject ? ::SelectObject(hDC, hObject) : nullptr)
    {
    }
    ~CAutoSelect()
    {
        if (m_hOld) ::SelectObject(m_hDC, m_hOld);
    }
    CAutoSelect(const CAutoSelect&) = delete;
    CAutoSelect& operator=(const CAutoSelect&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// An off-screen copy of a window's client area to paint into: GetDC() is a memory DC over a
// bitmap compatible with dc and as large as the client area, and the destructor copies all of
// it to dc with one BitBlt, so that a repaint never flickers. Declared after the CPaintDC, so
// that the copy comes before EndPaint.
class CMemDC {
public:
    CMemDC(CDC& dc, CWnd* pWnd);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    CDC& GetDC() { return m_memDC; }

private:
    CDC& m_dc;
    CRect m_rect;
    CDC m_memDC;
    CBitmap m_bitmap;  // after m_memDC: deleted before it
    HGDIOBJ m_hOldBitmap = nullptr;
};
