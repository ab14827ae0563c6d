// GDI owners and device contexts, CImage and CImageDC: checked by their effects on real
// handles and pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "framework/Afx.h"
#include "framework/GdiPlus.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/support/GuiTest.h"

using gui_test::Canvas;
using gui_test::SameColor;

namespace {

bool IsGdiObject(HGDIOBJ h) { return ::GetObjectType(h) != 0; }

TEST(GdiObjects, OwnerDeletesDetachHandsOverMoveTransfers)
{
    HGDIOBJ owned, detached, moved;
    {
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        owned = pen.m_hObject;
        ASSERT_TRUE(IsGdiObject(owned));
        CBrush brush(RGB(4, 5, 6));
        detached = brush.Detach();
        EXPECT_EQ(nullptr, brush.m_hObject);
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(90, "Microsoft YaHei"));
        moved = font.m_hObject;
        CFont other(std::move(font));
        EXPECT_EQ(nullptr, font.m_hObject);
        EXPECT_EQ(moved, other.m_hObject);
        EXPECT_FALSE(other.Attach(detached));  // already holds one
    }
    EXPECT_FALSE(IsGdiObject(owned));
    EXPECT_FALSE(IsGdiObject(moved));
    EXPECT_TRUE(IsGdiObject(detached));
    ::DeleteObject(detached);
}

TEST(GdiObjects, BitmapLoadsFromTheResourceModule)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_PLAIN));
    BITMAP info{};
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(20, info.bmWidth);
    EXPECT_EQ(10, info.bmHeight);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(9999));
    EXPECT_EQ(nullptr, missing.m_hObject);

    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* previous = dc.SelectObject(&bitmap);
    ASSERT_NE(nullptr, previous);
    EXPECT_EQ(RGB(12, 34, 56), dc.GetPixel(19, 9));
    dc.SelectObject(previous);
}

TEST(DeviceContexts, SelectObjectReturnsWhatWasSelectedAndAutoSelectPutsItBack)
{
    Canvas canvas(10, 10, RGB(0, 0, 0));
    CDC* dc = CDC::FromHandle(canvas.dc());
    HGDIOBJ original = ::GetCurrentObject(canvas.dc(), OBJ_PEN);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* before = dc->SelectObject(&red);
    ASSERT_NE(nullptr, before);
    EXPECT_EQ(original, before->m_hObject);
    EXPECT_EQ(red.m_hObject, ::GetCurrentObject(canvas.dc(), OBJ_PEN));
    dc->SelectObject(before);
    EXPECT_EQ(original, ::GetCurrentObject(canvas.dc(), OBJ_PEN));
    {
        CAutoSelect select(canvas.dc(), red);
        EXPECT_EQ(red.m_hObject, ::GetCurrentObject(canvas.dc(), OBJ_PEN));
    }
    EXPECT_EQ(original, ::GetCurrentObject(canvas.dc(), OBJ_PEN));
    // The wrapper for a handle never deletes it.
    EXPECT_TRUE(IsGdiObject(original));
}

TEST(DeviceContexts, FillSolidRectFillsExactlyAndKeepsTheBackgroundColour)
{
    Canvas canvas(20, 20, RGB(0, 0, 0));
    CDC* dc = CDC::FromHandle(canvas.dc());
    dc->SetBkColor(RGB(9, 9, 9));
    dc->FillSolidRect(CRect(2, 3, 12, 8), RGB(230, 246, 255));
    dc->FillSolidRect(15, 15, 2, 2, RGB(150, 150, 150));
    EXPECT_EQ(RGB(230, 246, 255), canvas.At(2, 3));
    EXPECT_EQ(RGB(230, 246, 255), canvas.At(11, 7));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(12, 7));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(11, 8));
    EXPECT_EQ(RGB(150, 150, 150), canvas.At(16, 16));
    EXPECT_EQ(RGB(9, 9, 9), ::GetBkColor(canvas.dc()));
}

TEST(DeviceContexts, CompatibleDcIsDeletedWithItsObject)
{
    HDC hDC;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        hDC = dc.m_hDC;
        EXPECT_NE(0u, ::GetObjectType(hDC));
    }
    EXPECT_EQ(0u, ::GetObjectType(hDC));
}

// A window that paints with CPaintDC and records what it saw.
class CPaintedWnd : public CWnd {
public:
    int paints = 0;
    CRect paintRect;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        paintRect = dc.m_ps.rcPaint;
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(76, 157, 254));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(DeviceContexts, PaintDcPaintsAndValidates)
{
    CPaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, gui_test::PlainWindowClass(), "", WS_POPUP | WS_VISIBLE, 30, 30,
                             60, 40, nullptr, nullptr));
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_GE(wnd.paints, 1);
    EXPECT_EQ(CRect(0, 0, 60, 40), wnd.paintRect);
    EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));  // EndPaint validated
    CClientDC dc(&wnd);
    EXPECT_EQ(RGB(76, 157, 254), dc.GetPixel(30, 20));
}

class ImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static ULONG_PTR token = 0;
        if (!token) {
            Gdiplus::GdiplusStartupInput input;
            Gdiplus::GdiplusStartup(&token, &input, nullptr);
        }
    }
};

TEST_F(ImageTest, CreatedImageHasACountedDcThatCImageDcGivesBack)
{
    CImage image;
    EXPECT_TRUE(image.IsNull());
    {
        CImageDC none(image);
        EXPECT_EQ(nullptr, static_cast<HDC>(none));
    }
    ASSERT_TRUE(image.Create(702, 502, 32, 0));
    EXPECT_EQ(702, image.GetWidth());
    EXPECT_EQ(502, image.GetHeight());
    EXPECT_EQ(32, image.GetBPP());
    {
        CImageDC outer(image);
        CImageDC inner(image);
        ASSERT_NE(nullptr, static_cast<HDC>(outer));
        EXPECT_EQ(static_cast<HDC>(outer), static_cast<HDC>(inner));
        CDC::FromHandle(outer)->FillSolidRect(0, 0, 702, 502, RGB(150, 150, 150));
        EXPECT_EQ(static_cast<HBITMAP>(image), ::GetCurrentObject(outer, OBJ_BITMAP));
    }
    // Given back: the bitmap can be selected elsewhere.
    Canvas canvas(702, 502, RGB(0, 0, 0));
    EXPECT_TRUE(image.BitBlt(canvas.dc(), 0, 0));
    EXPECT_EQ(RGB(150, 150, 150), canvas.At(701, 501));
    image.Destroy();
    EXPECT_TRUE(image.IsNull());
    EXPECT_FALSE(image.Draw(canvas.dc(), 0, 0));
}

TEST_F(ImageTest, LoadedPngWithAlphaIsBlendedWhenDrawn)
{
    CImage image;
    EXPECT_EQ(E_FAIL, image.Load(TEST_SOURCE_DIR "/graphics/data/missing.png"));
    ASSERT_EQ(S_OK, image.Load(TEST_SOURCE_DIR "/graphics/data/alpha_700x500.png"));
    EXPECT_EQ(700, image.GetWidth());
    EXPECT_TRUE(image.HasAlphaChannel());

    Canvas canvas(350, 250, RGB(150, 150, 150));
    ASSERT_TRUE(image.Draw(canvas.dc(), 0, 0, 350, 250));  // scaled to half
    // Transparent band: the grey stays; opaque band: the image's colour.
    EXPECT_EQ(RGB(150, 150, 150), canvas.At(20, 100));
    COLORREF opaque = canvas.At(125, 100);
    EXPECT_NE(RGB(150, 150, 150), opaque);

    CImage plain;
    ASSERT_EQ(S_OK, plain.Load(TEST_SOURCE_DIR "/graphics/data/opaque_700x500.png"));
    EXPECT_FALSE(plain.HasAlphaChannel());
    Canvas copy(700, 500, RGB(0, 0, 0));
    ASSERT_TRUE(plain.Draw(copy.dc(), 0, 0));
    // Unscaled: the pixel formula of the graphics tests' images.
    EXPECT_EQ(RGB((10 * 7 + 20 * 3) & 0xFF, (10 ^ 20) & 0xFF, (1 * 37 + 2 * 91) & 0xFF),
              copy.At(10, 20));
}

// An IStream over a copy of bytes, as the product makes one over a resource.
IStream* StreamOver(const std::string& bytes)
{
    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return nullptr;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    return stream;  // left at its end: Load must rewind it
}

TEST_F(ImageTest, ImageLoadsFromAStreamLikeFromItsFile)
{
    std::ifstream file(TEST_SOURCE_DIR "/graphics/data/alpha_700x500.png", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());

    CImage fromFile, fromStream;
    ASSERT_EQ(S_OK, fromFile.Load(TEST_SOURCE_DIR "/graphics/data/alpha_700x500.png"));
    IStream* stream = StreamOver(bytes);
    ASSERT_NE(nullptr, stream);
    ASSERT_EQ(S_OK, fromStream.Load(stream));
    EXPECT_EQ(700, fromStream.GetWidth());
    EXPECT_EQ(500, fromStream.GetHeight());
    EXPECT_TRUE(fromStream.HasAlphaChannel());
    EXPECT_EQ(0, memcmp(fromFile.GetBits(), fromStream.GetBits(),
                        static_cast<size_t>(fromFile.GetPitch()) * 500));
    stream->Release();

    // Bytes that are no image leave the holder empty; so does no stream.
    IStream* garbage = StreamOver("not a picture at all");
    ASSERT_NE(nullptr, garbage);
    EXPECT_EQ(E_FAIL, fromStream.Load(garbage));
    EXPECT_TRUE(fromStream.IsNull());
    garbage->Release();
    EXPECT_EQ(E_INVALIDARG, fromStream.Load(static_cast<IStream*>(nullptr)));
}

}  // namespace
