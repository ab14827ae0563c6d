#include "graphics/ImageEx.h"

#include "framework/GdiPlus.h"

namespace gp = Gdiplus::DllExports;

// One GDI+ image object: the native image with the status of the last operation, allocated
// from GDI+'s own heap.
class CGdiPlusImage {
public:
    // Null when GDI+ cannot allocate; the object is then not constructed.
    static void* operator new(size_t size) noexcept { return gp::GdipAlloc(size); }
    static void operator delete(void* p) { gp::GdipFree(p); }

    explicit CGdiPlusImage(IStream* stream)
    {
        m_lastStatus = gp::GdipLoadImageFromStream(stream, &m_native);
    }
    ~CGdiPlusImage()
    {
        if (m_native) gp::GdipDisposeImage(m_native);
    }
    CGdiPlusImage(const CGdiPlusImage&) = delete;
    CGdiPlusImage& operator=(const CGdiPlusImage&) = delete;

    // The pending status; reading it resets it to Ok.
    Gdiplus::Status GetLastStatus()
    {
        Gdiplus::Status status = m_lastStatus;
        m_lastStatus = Gdiplus::Ok;
        return status;
    }
    Gdiplus::GpImage* Native() const { return m_native; }

private:
    Gdiplus::GpImage* m_native = nullptr;
    Gdiplus::Status m_lastStatus = Gdiplus::Ok;
};

CImageEx::~CImageEx() { Unload(); }

bool CImageEx::LoadFromResource(HINSTANCE hModule, UINT nResourceId)
{
    if (m_pImage) return false;

    // Custom type names are compared without regard to case; windres stores "PNG".
    HRSRC hResource = ::FindResourceA(hModule, MAKEINTRESOURCEA(nResourceId), "png");
    if (!hResource) return false;
    DWORD size = ::SizeofResource(hModule, hResource);
    const void* bytes = ::LockResource(::LoadResource(hModule, hResource));
    if (!bytes) return false;

    // The stream owns a growable copy of the bytes and frees it when released.
    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return false;
    stream->Write(bytes, size, nullptr);  // a short write shows as a decoding error below

    m_pImage = new CGdiPlusImage(stream);
    stream->Release();
    return m_pImage && m_pImage->GetLastStatus() == Gdiplus::Ok;
}

bool CImageEx::Draw(CDC* pDC, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh)
{
    if (!m_pImage) return false;
    // An image that did not decode, or no DC, draws nothing; neither is reported.
    if (!m_pImage->Native() || !pDC) return true;
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(pDC->m_hDC, &graphics) != Gdiplus::Ok) return true;
    gp::GdipDrawImageRectRect(graphics, m_pImage->Native(), static_cast<Gdiplus::REAL>(dx),
                              static_cast<Gdiplus::REAL>(dy), static_cast<Gdiplus::REAL>(dw),
                              static_cast<Gdiplus::REAL>(dh), static_cast<Gdiplus::REAL>(sx),
                              static_cast<Gdiplus::REAL>(sy), static_cast<Gdiplus::REAL>(sw),
                              static_cast<Gdiplus::REAL>(sh), Gdiplus::UnitPixel, nullptr,
                              nullptr, nullptr);
    gp::GdipDeleteGraphics(graphics);
    return true;
}

CSize CImageEx::GetSize() const
{
    UINT width = 0, height = 0;
    if (m_pImage && m_pImage->Native()) {
        gp::GdipGetImageWidth(m_pImage->Native(), &width);
        gp::GdipGetImageHeight(m_pImage->Native(), &height);
    }
    return CSize(static_cast<int>(width), static_cast<int>(height));
}

bool CImageEx::IsNull()
{
    if (!m_pImage) return true;
    return m_pImage->GetLastStatus() != Gdiplus::Ok;
}

bool CImageEx::Unload()
{
    delete m_pImage;
    m_pImage = nullptr;
    return true;
}
