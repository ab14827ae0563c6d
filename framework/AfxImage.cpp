#include "framework/AfxImage.h"

#include <cstring>
#include <vector>

#include "framework/AfxString.h"
#include "framework/GdiPlus.h"

namespace gp = Gdiplus::DllExports;

BOOL CImage::Create(int nWidth, int nHeight, int nBPP, DWORD dwFlags)
{
    Destroy();
    if (nWidth <= 0 || nHeight <= 0 || (nBPP != 24 && nBPP != 32)) return FALSE;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(nBPP);
    info.bmiHeader.biCompression = BI_RGB;
    m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
    if (!m_hBitmap) return FALSE;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nBPP = nBPP;
    m_nPitch = ((nWidth * nBPP + 31) / 32) * 4;
    m_bHasAlpha = nBPP == 32 && (dwFlags & createAlphaChannel) != 0;
    return TRUE;
}

void CImage::Destroy()
{
    if (m_hDC) {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteDC(m_hDC);
        m_hDC = nullptr;
        m_nDCRefs = 0;
    }
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_nWidth = m_nHeight = m_nBPP = m_nPitch = 0;
    m_bHasAlpha = false;
}

HRESULT CImage::Load(LPCSTR pszFileName)
{
    Destroy();
    if (!pszFileName) return E_INVALIDARG;
    std::wstring path = CString(pszFileName).ToWide();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok || !bitmap)
        return E_FAIL;
    return LoadFromGdiPlusBitmap(bitmap);
}

HRESULT CImage::Load(IStream* pStream)
{
    Destroy();
    if (!pStream) return E_INVALIDARG;
    // GDI+ reads from the stream's current position; a caller that just wrote it is at its end.
    LARGE_INTEGER start{};
    pStream->Seek(start, STREAM_SEEK_SET, nullptr);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromStream(pStream, &bitmap) != Gdiplus::Ok || !bitmap)
        return E_FAIL;
    return LoadFromGdiPlusBitmap(bitmap);
}

HRESULT CImage::LoadFromGdiPlusBitmap(void* pGpBitmap)
{
    auto* bitmap = static_cast<Gdiplus::GpBitmap*>(pGpBitmap);
    HRESULT hr = E_FAIL;
    UINT width = 0, height = 0;
    Gdiplus::PixelFormat format = 0;
    gp::GdipGetImageWidth(bitmap, &width);
    gp::GdipGetImageHeight(bitmap, &height);
    gp::GdipGetImagePixelFormat(bitmap, &format);
    const bool alpha = (format & PixelFormatAlpha) != 0;
    if (width > 0 && height > 0 &&
        Create(static_cast<int>(width), static_cast<int>(height), 32,
               alpha ? createAlphaChannel : 0)) {
        // GdiAlphaBlend wants premultiplied pixels; GDI+ converts while it copies them out.
        Gdiplus::Rect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        Gdiplus::BitmapData data{};
        data.Width = width;
        data.Height = height;
        data.Stride = m_nPitch;
        data.PixelFormat = alpha ? PixelFormat32bppPARGB : PixelFormat32bppRGB;
        data.Scan0 = m_pBits;
        if (gp::GdipBitmapLockBits(bitmap, &rect,
                                   Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                   data.PixelFormat, &data) == Gdiplus::Ok) {
            gp::GdipBitmapUnlockBits(bitmap, &data);
            hr = S_OK;
        } else {
            Destroy();
        }
    }
    gp::GdipDisposeImage(bitmap);
    return hr;
}

HDC CImage::GetDC() const
{
    if (!m_hBitmap) return nullptr;
    if (m_nDCRefs == 0) {
        m_hDC = ::CreateCompatibleDC(nullptr);
        if (!m_hDC) return nullptr;
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    }
    ++m_nDCRefs;
    return m_hDC;
}

void CImage::ReleaseDC() const
{
    if (m_nDCRefs <= 0 || --m_nDCRefs > 0) return;
    ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteDC(m_hDC);
    m_hDC = nullptr;
}

BOOL CImage::Draw(HDC hDestDC, int x, int y, int nWidth, int nHeight) const
{
    HDC hSrc = GetDC();
    if (!hSrc) return FALSE;
    BOOL ok;
    if (m_bHasAlpha) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ok = ::GdiAlphaBlend(hDestDC, x, y, nWidth, nHeight, hSrc, 0, 0, m_nWidth, m_nHeight, blend);
    } else {
        ok = ::StretchBlt(hDestDC, x, y, nWidth, nHeight, hSrc, 0, 0, m_nWidth, m_nHeight,
                          SRCCOPY);
    }
    ReleaseDC();
    return ok;
}

BOOL CImage::BitBlt(HDC hDestDC, int x, int y, DWORD dwROP) const
{
    HDC hSrc = GetDC();
    if (!hSrc) return FALSE;
    BOOL ok = ::BitBlt(hDestDC, x, y, m_nWidth, m_nHeight, hSrc, 0, 0, dwROP);
    ReleaseDC();
    return ok;
}
