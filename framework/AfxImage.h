// CImage: a device-independent bitmap section with its own memory DC; CImageDC borrows that
// DC for one scope.
//
// Create makes an empty top-down DIB; Load decodes an image file through GDI+ (which must be
// started). A loaded image with an alpha channel is kept as 32-bit premultiplied pixels and
// Draw blends it with GdiAlphaBlend; any other image is copied with StretchBlt.
#pragma once

#include <windows.h>

#include <objidl.h>

class CImage {
public:
    enum { createAlphaChannel = 0x01 };

    CImage() = default;
    ~CImage() { Destroy(); }
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // A nBPP-bit (24 or 32) image of nWidth x nHeight pixels, all zero.
    BOOL Create(int nWidth, int nHeight, int nBPP, DWORD dwFlags = 0);
    // Decodes an image file (PNG, BMP, JPEG, ...); S_OK or an error. The old image goes first.
    HRESULT Load(LPCSTR pszFileName);
    // The same from a stream positioned anywhere (for example over a resource's bytes); the
    // caller keeps its reference to the stream.
    HRESULT Load(IStream* pStream);
    void Destroy();

    bool IsNull() const { return m_hBitmap == nullptr; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetBPP() const { return m_nBPP; }
    bool HasAlphaChannel() const { return m_bHasAlpha; }
    // The first pixel of the top row and the byte distance between rows.
    void* GetBits() { return m_pBits; }
    int GetPitch() const { return m_nPitch; }
    operator HBITMAP() const { return m_hBitmap; }

    // The image's memory DC with the bitmap selected; counted, give each back with ReleaseDC.
    HDC GetDC() const;
    void ReleaseDC() const;

    // Draws the whole image scaled into (x, y, nWidth, nHeight).
    BOOL Draw(HDC hDestDC, int x, int y, int nWidth, int nHeight) const;
    BOOL Draw(HDC hDestDC, int x, int y) const { return Draw(hDestDC, x, y, m_nWidth, m_nHeight); }
    BOOL BitBlt(HDC hDestDC, int x, int y, DWORD dwROP = SRCCOPY) const;

private:
    // Takes the pixels of a decoded GDI+ bitmap and disposes of it; S_OK or E_FAIL.
    HRESULT LoadFromGdiPlusBitmap(void* pGpBitmap);

    HBITMAP m_hBitmap = nullptr;
    void* m_pBits = nullptr;
    int m_nWidth = 0, m_nHeight = 0, m_nBPP = 0, m_nPitch = 0;
    bool m_bHasAlpha = false;
    mutable HDC m_hDC = nullptr;
    mutable HGDIOBJ m_hOldBitmap = nullptr;
    mutable int m_nDCRefs = 0;
};

// The image's DC for one scope. Null when the image is empty: drawing on it then does nothing.
class CImageDC {
public:
    explicit CImageDC(const CImage& image) : m_image(image), m_hDC(image.GetDC()) {}
    ~CImageDC()
    {
        if (m_hDC) m_image.ReleaseDC();
    }
    CImageDC(const CImageDC&) = delete;
    CImageDC& operator=(const CImageDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    const CImage& m_image;
    HDC m_hDC;
};
