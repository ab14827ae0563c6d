// CMyProgressCtrl: the bar read back from a real progress control of the installer's size
// (550 x 10 with a border: a 548-pixel client): filled widths, gradient ends, empty ranges.
#include "controls/MyProgressCtrl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/controls/ControlsTestPrint.h"
#include "tests/support/GuiTest.h"

using gui_test::Canvas;
using gui_test::SameColor;

namespace {

const COLORREF kInstallerBar = RGB(76, 157, 254);
const COLORREF kInstallerTrack = RGB(230, 230, 230);
const COLORREF kDefaultBar = RGB(0, 120, 215);
const COLORREF kDefaultTrack = RGB(240, 240, 240);

class MyProgressCtrlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&icc);
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, gui_test::PlainWindowClass(), "owner",
                                     WS_POPUP | WS_VISIBLE, 20, 20, 702, 502, nullptr, nullptr));
        ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(43, 445, 593, 455),
                                 &m_owner, 1015));
        CRect client;
        m_bar.GetClientRect(&client);
        ASSERT_EQ(CSize(548, 8), client.Size());
    }

    void UseInstallerColours()
    {
        m_bar.SetColors(kInstallerBar, kInstallerTrack, 0);
        m_bar.SetBorder(TRUE, RGB(230, 246, 255));
    }

    // The bar's client area as it is on screen after a repaint.
    std::unique_ptr<Canvas> Snapshot()
    {
        m_bar.Invalidate(TRUE);
        m_bar.UpdateWindow();
        auto canvas = std::make_unique<Canvas>(548, 8, RGB(255, 0, 255));
        CClientDC dc(&m_bar);
        ::BitBlt(canvas->dc(), 0, 0, 548, 8, dc, 0, 0, SRCCOPY);
        return canvas;
    }

    // The filled width: where the track colour begins. Every row must agree.
    static int FilledWidth(const Canvas& canvas, COLORREF track)
    {
        int width = -1;
        for (int y = 0; y < canvas.height(); ++y) {
            int x = 0;
            while (x < canvas.width() && canvas.At(x, y) != track) ++x;
            for (int rest = x; rest < canvas.width(); ++rest)
                if (canvas.At(rest, y) != track) return -2;  // not one filled stretch
            if (width != -1 && width != x) return -3;        // rows differ
            width = x;
        }
        return width;
    }

    CWnd m_owner;
    CMyProgressCtrl m_bar;
};

TEST_F(MyProgressCtrlTest, FilledWidthIsTheTruncatedShareOfTheClientWidth)
{
    UseInstallerColours();
    m_bar.SetRange(0, 100);
    const struct {
        int pos, width;
    } cases[] = {{0, 0}, {1, 5}, {2, 10}, {50, 274}, {99, 542}, {100, 548}};
    for (const auto& c : cases) {
        m_bar.SetPos(c.pos);
        EXPECT_EQ(c.width, FilledWidth(*Snapshot(), kInstallerTrack)) << "position " << c.pos;
    }
}

TEST_F(MyProgressCtrlTest, TheShareIsTakenFromTheLowerBound)
{
    UseInstallerColours();
    m_bar.SetRange(10, 20);
    m_bar.SetPos(15);
    EXPECT_EQ(274, FilledWidth(*Snapshot(), kInstallerTrack));
    m_bar.SetPos(10);
    EXPECT_EQ(0, FilledWidth(*Snapshot(), kInstallerTrack));
    m_bar.SetPos(20);
    EXPECT_EQ(548, FilledWidth(*Snapshot(), kInstallerTrack));

    // A wide 32-bit range: 548 times the position would not fit in 32 bits.
    m_bar.SetRange32(0, 2000000000);
    m_bar.SetPos(1500000000);
    EXPECT_EQ(411, FilledWidth(*Snapshot(), kInstallerTrack));
    m_bar.SetRange32(-1000000000, 1000000000);
    m_bar.SetPos(0);
    EXPECT_EQ(274, FilledWidth(*Snapshot(), kInstallerTrack));
}

TEST_F(MyProgressCtrlTest, GradientRunsFromTheBarColourToFourFifthsOfIt)
{
    const struct {
        const char* what;
        bool installer;
        COLORREF left, right, track;
    } cases[] = {
        // Vertices (0, 30720, 55040) and (0, 24576, 44032).
        {"default colours", false, kDefaultBar, RGB(0, 96, 172), kDefaultTrack},
        // Vertices (19456, 40192, 65024) and (15564, 32153, 52019).
        {"installer colours", true, kInstallerBar, RGB(60, 125, 203), kInstallerTrack},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.installer) UseInstallerColours();
        m_bar.SetRange(0, 100);
        // The gradient always spans the filled part only.
        for (int pos : {100, 50}) {
            SCOPED_TRACE(pos);
            m_bar.SetPos(pos);
            auto shot = Snapshot();
            const int last = 548 * pos / 100 - 1;
            const COLORREF half = RGB((GetRValue(c.left) + GetRValue(c.right)) / 2,
                                      (GetGValue(c.left) + GetGValue(c.right)) / 2,
                                      (GetBValue(c.left) + GetBValue(c.right)) / 2);
            for (int y : {0, 7}) {
                EXPECT_EQ(c.left, shot->At(0, y));
                // The last filled pixel is one step short of the right vertex.
                EXPECT_TRUE(SameColor(c.right, shot->At(last, y), 1));
                EXPECT_TRUE(SameColor(half, shot->At(last / 2, y), 1));
            }
            if (last + 1 < 548) {
                EXPECT_EQ(c.track, shot->At(last + 1, 4));
            }
        }
    }
}

TEST_F(MyProgressCtrlTest, AnEmptyRangeDrawsOnlyTheBackground)
{
    UseInstallerColours();
    for (int bound : {0, 5, 100}) {
        m_bar.SetRange(static_cast<short>(bound), static_cast<short>(bound));
        m_bar.SetPos(bound);
        int lower = -1, upper = -1;
        m_bar.GetRange(lower, upper);
        ASSERT_EQ(lower, upper);  // the control keeps the empty range
        EXPECT_EQ(0, FilledWidth(*Snapshot(), kInstallerTrack)) << "range " << bound;
    }
    m_bar.SetRange32(7, 7);
    m_bar.SetPos(7);
    EXPECT_EQ(0, FilledWidth(*Snapshot(), kInstallerTrack));
}

TEST_F(MyProgressCtrlTest, BorderAndThirdColourDoNotChangeThePicture)
{
    UseInstallerColours();
    m_bar.SetRange(0, 100);
    m_bar.SetPos(37);
    auto before = Snapshot();

    m_bar.SetBorder(FALSE, RGB(255, 0, 0));
    EXPECT_TRUE(::GetUpdateRect(m_bar.m_hWnd, nullptr, FALSE));  // it repaints ...
    auto afterBorder = Snapshot();
    m_bar.SetColors(kInstallerBar, kInstallerTrack, RGB(0, 255, 0));
    auto afterExtra = Snapshot();
    for (int x = 0; x < 548; ++x) {  // ... the same picture
        ASSERT_EQ(before->At(x, 3), afterBorder->At(x, 3)) << x;
        ASSERT_EQ(before->At(x, 3), afterExtra->At(x, 3)) << x;
    }
}

TEST_F(MyProgressCtrlTest, EraseDrawsNothing)
{
    Canvas canvas(548, 8, RGB(1, 2, 3));
    EXPECT_EQ(TRUE, m_bar.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc())));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 0));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(300, 4));
}

}  // namespace
