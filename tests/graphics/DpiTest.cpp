// The DPI band rule, the scaled font and SetWindowHeight on real windows.
#include "graphics/Dpi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/GuiTest.h"

namespace {

TEST(DpiBand, IsChosenFromTheTopByHorizontalDpi)
{
    struct Case {
        int dpi, pathFontTenths, scaledFontPoints, checkBoxWidth, linkLeft;
    };
    const Case cases[] = {
        {96, 100, 13, 200, 412},  {119, 100, 13, 200, 412}, {120, 82, 10, 216, 416},
        {143, 82, 10, 216, 416},  {144, 75, 9, 222, 425},   {192, 75, 9, 222, 425},
        {0, 100, 13, 200, 412},   {-96, 100, 13, 200, 412}, {100000, 75, 9, 222, 425},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const DpiBand& band = GetDpiBand(c.dpi);
        EXPECT_EQ(c.pathFontTenths, band.nPathFontTenths);
        EXPECT_EQ(c.scaledFontPoints, band.nScaledFontPoints);
        EXPECT_EQ(c.checkBoxWidth, band.nCheckBoxWidth);
        EXPECT_EQ(c.linkLeft, band.nLinkLeft);
    }
}

TEST(DpiBand, ScaledFontHeightsFollowTheVerticalDpi)
{
    // The band's scaled font at the usual DPI of each band, and above the top band.
    const struct {
        int dpi, height;
    } cases[] = {{96, -17}, {120, -17}, {144, -18}, {192, -24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        std::unique_ptr<CFont> font(CreateScaledFontForDpi(
            GetDpiBand(c.dpi).nScaledFontPoints, kDpiFontFace, FALSE, c.dpi));
        LOGFONTA lf{};
        ASSERT_TRUE(font->GetLogFont(&lf));
        EXPECT_EQ(c.height, lf.lfHeight);
    }
}

TEST(ScreenDpi, IsTheScreensHorizontalDpi)
{
    HDC screen = ::GetDC(nullptr);
    int expected = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(expected, GetScreenDpi());
    EXPECT_EQ(96, GetScreenDpi()) << "the test prefix runs at 96 DPI";
}

TEST(ScaledFont, ThirteenPointYaHeiAt96DpiIsMinus17Normal)
{
    ASSERT_EQ(96, GetScreenDpi());
    for (BOOL bold : {FALSE, TRUE}) {
        SCOPED_TRACE(bold);
        std::unique_ptr<CFont> font(CreateScaledFont(13, "Microsoft YaHei", bold));
        ASSERT_NE(nullptr, font->m_hObject);
        LOGFONTA lf{};
        ASSERT_TRUE(font->GetLogFont(&lf));
        EXPECT_EQ(-17, lf.lfHeight);
        EXPECT_EQ(0, lf.lfWidth);
        EXPECT_EQ(bold ? FW_BOLD : FW_NORMAL, lf.lfWeight);
        EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
        EXPECT_EQ(FF_SWISS | DEFAULT_PITCH, lf.lfPitchAndFamily);
        EXPECT_STREQ("Microsoft YaHei", lf.lfFaceName);

        // Realised on a DC, the characters are 17 pixels high.
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, *font);
        TEXTMETRICA tm{};
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        EXPECT_EQ(17, tm.tmHeight - tm.tmInternalLeading);
    }
}

TEST(PointFont, BandSizesAt96Dpi)
{
    ASSERT_EQ(96, GetScreenDpi());
    // -MulDiv(96, tenths, 720)
    const struct {
        int tenths, height;
    } cases[] = {{100, -13}, {82, -11}, {75, -10}};
    for (const auto& c : cases) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, kDpiFontFace));
        LOGFONTA lf{};
        font.GetLogFont(&lf);
        EXPECT_EQ(c.height, lf.lfHeight) << c.tenths;
        EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
        EXPECT_EQ(0, lf.lfWeight);
    }
}

class SetWindowHeightTest : public ::testing::Test {
protected:
    CRect WindowRect(const CWnd& wnd)
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        return rect;
    }
};

TEST_F(SetWindowHeightTest, ChildKeepsItsPlaceInTheParent)
{
    CWnd parent, child;
    ASSERT_TRUE(parent.CreateEx(0, gui_test::PlainWindowClass(), "parent",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 400, 300, nullptr,
                                nullptr));
    ASSERT_TRUE(child.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER,
                               CRect(10, 20, 60, 50), &parent, 7));
    SetWindowHeight(&child, 61);
    CRect rect = WindowRect(child);
    parent.ScreenToClient(&rect);
    EXPECT_EQ(CRect(10, 20, 60, 81), rect);
}

TEST_F(SetWindowHeightTest, TopLevelWindowsKeepTheirScreenPosition)
{
    CWnd owner, plain, owned;
    ASSERT_TRUE(owner.CreateEx(0, gui_test::PlainWindowClass(), "owner",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 250, 300, 200, nullptr,
                               nullptr));
    ASSERT_TRUE(plain.CreateEx(0, gui_test::PlainWindowClass(), "plain", WS_POPUP | WS_VISIBLE,
                               200, 150, 300, 100, nullptr, nullptr));
    // An owned popup: GetParent answers its owner, yet it must not move.
    ASSERT_TRUE(owned.CreateEx(0, gui_test::PlainWindowClass(), "owned", WS_POPUP | WS_VISIBLE,
                               420, 380, 120, 90, owner.m_hWnd, nullptr));
    SetWindowHeight(&plain, 77);
    SetWindowHeight(&owned, 33);
    EXPECT_EQ(CRect(200, 150, 500, 227), WindowRect(plain));
    EXPECT_EQ(CRect(420, 380, 540, 413), WindowRect(owned));
}

TEST_F(SetWindowHeightTest, WindowlessObjectIsLeftAlone)
{
    CWnd none;
    SetWindowHeight(&none, 20);
    SetWindowHeight(nullptr, 20);
    EXPECT_EQ(nullptr, none.m_hWnd);
}

}  // namespace
