#include "controls/MyEditBrowseCtrl.h"

#include <objidl.h>

namespace {

const COLORREF kFieldColor = RGB(250, 250, 250);
const COLORREF kButtonColor = RGB(240, 240, 240);
const COLORREF kButtonHotColor = RGB(220, 220, 220);
const int kTextLeft = 5;
// The image is drawn this many pixels smaller than it is, in both directions.
const int kImageShrink = 3;

// Decodes the browse image from the resource module into image; false when the resource is
// missing or does not decode (the image then stays empty).
bool LoadBrowseImage(CImage& image)
{
    HINSTANCE hModule = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(
        hModule, MAKEINTRESOURCEA(CMyEditBrowseCtrl::kBrowseImageResourceId), "png");
    if (!hResource) return false;
    DWORD size = ::SizeofResource(hModule, hResource);
    const void* bytes = ::LockResource(::LoadResource(hModule, hResource));
    if (!bytes || size == 0) return false;

    // The stream owns a copy of the bytes and frees it when released.
    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK || !stream) return false;
    ULONG written = 0;
    bool ok = stream->Write(bytes, size, &written) == S_OK && written == size &&
              image.Load(stream) == S_OK;
    stream->Release();
    return ok;
}

}  // namespace

IMPLEMENT_DYNAMIC(CMyEditBrowseCtrl, CMFCEditBrowseCtrl)

BEGIN_MESSAGE_MAP(CMyEditBrowseCtrl, CMFCEditBrowseCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CImage& CMyEditBrowseCtrl::GetBrowseImage()
{
    // Made on first use (thread-safe), destroyed when the process ends.
    static CImage image;
    return image;
}

void CMyEditBrowseCtrl::OnPaint()
{
    // The edit control's own painting does not run: one pass, no erase, no flicker.
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kFieldColor);

    CString text;
    GetWindowText(text);
    CFont* pOldFont = dc.SelectObject(GetFont());  // null font: the DC's own stays
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkMode(TRANSPARENT);
    // One line from x 5, whatever its length; the paint DC clips it to the client area.
    CSize extent = dc.GetTextExtent(text);
    dc.TextOut(kTextLeft, (client.Height() - extent.cy) / 2, text);
    if (pOldFont) dc.SelectObject(pOldFont);
}

BOOL CMyEditBrowseCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;  // OnPaint covers the whole client area
}

void CMyEditBrowseCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CMFCEditBrowseCtrl::OnSetFocus(pOldWnd);
    Invalidate(TRUE);
}

void CMyEditBrowseCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CMFCEditBrowseCtrl::OnKillFocus(pNewWnd);
    Invalidate(TRUE);
}

void CMyEditBrowseCtrl::OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL /*bIsButtonPressed*/,
                                           BOOL bIsButtonHot)
{
    pDC->FillSolidRect(&rect, kButtonColor);
    if (bIsButtonHot) pDC->FillSolidRect(&rect, kButtonHotColor);

    CImage& image = GetBrowseImage();
    if (image.IsNull()) LoadBrowseImage(image);
    if (image.IsNull()) return;  // no image: the flat face alone

    int width = image.GetWidth() - kImageShrink;
    int height = image.GetHeight() - kImageShrink;
    // An image of 3 pixels or less has nothing left to draw (and a negative size would mirror).
    if (width <= 0 || height <= 0) return;
    int x = rect.left + (rect.Width() - width) / 2;
    int y = rect.top + (rect.Height() - height) / 2;
    image.Draw(pDC->m_hDC, x, y, width, height);
}
