// CImageEx: PNG resources decoded through GDI+ and drawn onto real device contexts.
#include "graphics/ImageEx.h"

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include "framework/GdiPlus.h"
#include "tests/graphics/GraphicsTestIds.h"
#include "tests/support/GuiTest.h"

using gui_test::Canvas;
using gui_test::SameColor;

namespace {

// The pixels of the test PNGs, as tests/graphics/data/make_test_images.py draws them.
COLORREF OpaquePixel(int x, int y)
{
    return RGB((x * 7 + y * 3) & 0xFF, (x ^ y) & 0xFF, ((x / 10) * 37 + (y / 10) * 91) & 0xFF);
}

int AlphaOf(int x, int y)
{
    if (x < 100) return 0;
    if (x < 200) return 128;
    if (x < 300) return 255;
    return (x + y) & 0xFF;
}

const COLORREF kGrey = RGB(150, 150, 150);

class ImageExTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Started once and never shut down, as the product does.
        static ULONG_PTR token = 0;
        if (!token) {
            Gdiplus::GdiplusStartupInput input;
            ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
        }
    }

    HINSTANCE module() const { return ::GetModuleHandleA(nullptr); }

    // Draws the holder's image unscaled at (1, 1) onto a 702 x 502 grey canvas.
    static bool DrawFramed(CImageEx& image, Canvas& canvas)
    {
        CDC* dc = CDC::FromHandle(canvas.dc());
        return image.Draw(dc, 1, 1, 700, 500, 0, 0, 700, 500);
    }

    // Counts the canvas pixels that are not grey.
    static int ChangedPixels(const Canvas& canvas)
    {
        int changed = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) changed += canvas.At(x, y) != kGrey;
        return changed;
    }
};

TEST_F(ImageExTest, OpaquePngDrawnAtOneOneIsReproducedPixelForPixel)
{
    CImageEx image;
    ASSERT_TRUE(image.LoadFromResource(module(), IDP_OPAQUE));
    EXPECT_FALSE(image.IsNull());

    Canvas canvas(702, 502, kGrey);
    ASSERT_TRUE(DrawFramed(image, canvas));

    int wrong = 0;
    for (int y = 0; y < 502; ++y) {
        for (int x = 0; x < 702; ++x) {
            bool inside = x >= 1 && x <= 700 && y >= 1 && y <= 500;
            COLORREF expected = inside ? OpaquePixel(x - 1, y - 1) : kGrey;
            if (canvas.At(x, y) != expected && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): "
                              << SameColor(expected, canvas.At(x, y)).message();
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(ImageExTest, AlphaIsBlendedOverWhatTheDeviceContextHolds)
{
    CImageEx image;
    ASSERT_TRUE(image.LoadFromResource(module(), IDP_ALPHA));
    Canvas canvas(702, 502, kGrey);
    ASSERT_TRUE(DrawFramed(image, canvas));

    for (int y : {0, 123, 499}) {
        for (int x : {0, 99, 100, 199, 200, 299, 300, 450, 699}) {
            int a = AlphaOf(x, y);
            COLORREF src = OpaquePixel(x, y);
            auto blend = [a](int s, int d) { return (s * a + d * (255 - a) + 127) / 255; };
            COLORREF expected = RGB(blend(GetRValue(src), 150), blend(GetGValue(src), 150),
                                    blend(GetBValue(src), 150));
            // Fully transparent and fully opaque pixels are exact; partial ones may round.
            int tolerance = (a == 0 || a == 255) ? 0 : 2;
            EXPECT_TRUE(SameColor(expected, canvas.At(x + 1, y + 1), tolerance))
                << "image pixel (" << x << ", " << y << ") alpha " << a;
        }
    }
}

TEST_F(ImageExTest, SizeIsThePicturesOwnAndZeroWithoutOne)
{
    CImageEx image;
    EXPECT_EQ(CSize(0, 0), image.GetSize());
    ASSERT_TRUE(image.LoadFromResource(module(), IDP_OPAQUE));
    EXPECT_EQ(CSize(700, 500), image.GetSize());
    image.Unload();
    EXPECT_EQ(CSize(0, 0), image.GetSize());
    EXPECT_FALSE(image.LoadFromResource(module(), IDP_GARBAGE));
    EXPECT_EQ(CSize(0, 0), image.GetSize());
}

TEST_F(ImageExTest, SecondLoadFailsAndKeepsTheFirstImage)
{
    CImageEx image;
    ASSERT_TRUE(image.LoadFromResource(module(), IDP_OPAQUE));
    EXPECT_FALSE(image.LoadFromResource(module(), IDP_OPAQUE));
    EXPECT_FALSE(image.LoadFromResource(module(), IDP_ALPHA));
    EXPECT_FALSE(image.IsNull());

    Canvas canvas(702, 502, kGrey);
    ASSERT_TRUE(DrawFramed(image, canvas));
    // Pixels where the two images differ show the first one.
    EXPECT_EQ(OpaquePixel(10, 10), canvas.At(11, 11));
    EXPECT_EQ(OpaquePixel(650, 400), canvas.At(651, 401));
}

TEST_F(ImageExTest, IdWithoutPngResourceLeavesTheHolderEmpty)
{
    for (UINT id : {IDB_ONLY_BITMAP, ID_MISSING}) {
        SCOPED_TRACE(id);
        CImageEx image;
        EXPECT_FALSE(image.LoadFromResource(module(), id));
        EXPECT_TRUE(image.IsNull());
        Canvas canvas(702, 502, kGrey);
        EXPECT_FALSE(DrawFramed(image, canvas));
        EXPECT_EQ(0, ChangedPixels(canvas));
        // Empty, so a real image loads next.
        EXPECT_TRUE(image.LoadFromResource(module(), IDP_OPAQUE));
    }
}

TEST_F(ImageExTest, BytesThatAreNoImageKeepAnObjectThatDrawsNothingUntilUnload)
{
    CImageEx image;
    EXPECT_FALSE(image.LoadFromResource(module(), IDP_GARBAGE));
    // The failed object is held; its status was read by the load.
    EXPECT_FALSE(image.IsNull());
    Canvas canvas(702, 502, kGrey);
    EXPECT_TRUE(DrawFramed(image, canvas));
    EXPECT_EQ(0, ChangedPixels(canvas));
    EXPECT_FALSE(image.LoadFromResource(module(), IDP_OPAQUE));

    EXPECT_TRUE(image.Unload());
    EXPECT_TRUE(image.IsNull());
    EXPECT_TRUE(image.LoadFromResource(module(), IDP_OPAQUE));
}

TEST_F(ImageExTest, UnloadOnAnEmptyHolderChangesNothing)
{
    CImageEx image;
    EXPECT_TRUE(image.Unload());
    EXPECT_TRUE(image.Unload());
    EXPECT_TRUE(image.IsNull());
    Canvas canvas(4, 4, kGrey);
    EXPECT_FALSE(image.Draw(CDC::FromHandle(canvas.dc()), 0, 0, 4, 4, 0, 0, 4, 4));
}

TEST_F(ImageExTest, ReusedForManyImagesWithoutGrowing)
{
    auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        ::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters);
        return counters.PrivateUsage;
    };
    auto cycle = [this](int times) {
        for (int i = 0; i < times; ++i) {
            CImageEx held;  // destroyed while holding
            ASSERT_TRUE(held.LoadFromResource(module(), i % 2 ? IDP_OPAQUE : IDP_ALPHA));
            CImageEx switched;
            ASSERT_TRUE(switched.LoadFromResource(module(), IDP_OPAQUE));
            if (!switched.IsNull()) switched.Unload();
            ASSERT_TRUE(switched.LoadFromResource(module(), IDP_ALPHA));
        }
    };
    cycle(5);
    SIZE_T before = privateBytes();
    cycle(60);
    // A leaked decoded image is 1.4 MB; 120 of them would show clearly.
    EXPECT_LT(privateBytes() - before, 40u * 1024 * 1024);
}

TEST_F(ImageExTest, ScaledDrawFillsTheDestinationRectangle)
{
    CImageEx image;
    ASSERT_TRUE(image.LoadFromResource(module(), IDP_OPAQUE));
    Canvas canvas(400, 300, kGrey);
    ASSERT_TRUE(image.Draw(CDC::FromHandle(canvas.dc()), 10, 20, 350, 250, 0, 0, 700, 500));
    // Outside the destination nothing changes; inside, a flat area of the source shows.
    EXPECT_EQ(kGrey, canvas.At(5, 150));
    EXPECT_EQ(kGrey, canvas.At(200, 275));
    EXPECT_NE(kGrey, canvas.At(185, 145));
}

}  // namespace
