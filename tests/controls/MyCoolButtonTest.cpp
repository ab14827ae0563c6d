// CMyCoolButton: the face chosen for each state, drawn into a memory DC and read back from a
// real button under the real mouse; centring; the embossed fallback; missing bitmaps.
#include "controls/MyCoolButton.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/controls/ControlsTestIds.h"
#include "tests/controls/ControlsTestPrint.h"
#include "tests/support/GuiTest.h"

using gui_test::Canvas;
using gui_test::SameColor;

namespace {

// The faces' colours, as tests/controls/data/make_test_bitmaps.py draws them.
const COLORREF kNormal = RGB(200, 40, 40);
const COLORREF kHover = RGB(40, 200, 40);
const COLORREF kPressed = RGB(40, 40, 200);
const COLORREF kDisabled = RGB(120, 120, 120);
COLORREF PatternPixel(int x, int y) { return RGB(10 + x * 5, 20 + y * 10, 200); }
const int kFaceWidth = 40, kFaceHeight = 20;

const UINT kButtonId = 1014;
const CPoint kButtonPos(50, 40);  // in the owner's client area

COLORREF ButtonFace() { return ::GetSysColor(COLOR_BTNFACE); }

// The button with what the tests look at: its drawings, its mouse moves and its hover flag.
class CProbeButton : public CMyCoolButton {
public:
    int draws = 0;
    int mouseMoves = 0;
    BOOL IsHover() const { return m_bHover; }
    void SetHover(BOOL bHover) { m_bHover = bHover; }
    bool HasStyle(UINT type) const { return (GetStyle() & BS_TYPEMASK) == type; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++draws;
        CMyCoolButton::DrawItem(lpDIS);
    }

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point)
    {
        ++mouseMoves;
        CMyCoolButton::OnMouseMove(nFlags, point);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeButton, CMyCoolButton)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

// The button's parent; counts the clicks it is told about.
class COwner : public CWnd {
public:
    int clicks = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwner, CWnd)
    ON_BN_CLICKED(kButtonId, &COwner::OnClicked)
END_MESSAGE_MAP()

// Draws the button as its owner would ask it to, onto a fresh canvas of the given size.
std::unique_ptr<Canvas> DrawInto(CMyCoolButton& button, int width, int height, UINT itemState)
{
    auto canvas = std::make_unique<Canvas>(width, height, RGB(255, 0, 255));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = kButtonId;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = itemState;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = canvas->dc();
    dis.rcItem = CRect(0, 0, width, height);
    button.DrawItem(&dis);
    return canvas;
}

// Every pixel of the canvas is colour.
::testing::AssertionResult AllPixels(const Canvas& canvas, COLORREF colour)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.At(x, y) != colour)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y
                       << "): " << SameColor(colour, canvas.At(x, y)).message();
    return ::testing::AssertionSuccess();
}

class MyCoolButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, gui_test::PlainWindowClass(), "owner",
                                     WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                    CRect(kButtonPos, CSize(kFaceWidth, kFaceHeight)), &m_owner,
                                    kButtonId));
        // The pointer starts away from the button.
        ::SetCursorPos(5, 5);
        gui_test::PumpMessages(30);
    }

    // The button's client pixel as it is on screen, after any pending repaint.
    COLORREF OnScreen(int x = kFaceWidth / 2, int y = kFaceHeight / 2)
    {
        gui_test::PumpMessages(20);
        m_button.UpdateWindow();
        CClientDC dc(&m_button);
        return dc.GetPixel(x, y);
    }

    // Puts the real pointer on a point of the button (client coordinates) and waits until
    // an enabled button has seen it move there.
    void PointAt(int x, int y)
    {
        CPoint p(x, y);
        m_button.ClientToScreen(&p);
        const int moves = m_button.mouseMoves;
        ::SetCursorPos(p.x, p.y);
        CRect rc;
        m_button.GetWindowRect(&rc);
        if (rc.PtInRect(p) && m_button.IsWindowEnabled())
            gui_test::PumpUntil([&] { return m_button.mouseMoves > moves; }, 2000);
        gui_test::PumpMessages(10);
    }

    // Presses or releases the left button where the pointer is, and waits until done().
    static bool Press(DWORD flags, const std::function<bool()>& done, DWORD timeoutMs = 2000)
    {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        ::SendInput(1, &input, sizeof input);
        return gui_test::PumpUntil(done, timeoutMs);
    }

    bool Pushed() const { return (m_button.GetState() & BST_PUSHED) != 0; }

    COwner m_owner;
    CProbeButton m_button;
};

TEST_F(MyCoolButtonTest, EachStateDrawsItsFace)
{
    m_button.LoadBitmaps(IDB_FACE_NORMAL, IDB_FACE_HOVER, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    const struct {
        const char* what;
        UINT itemState;
        BOOL hover;
        BOOL logicallyEnabled;
        COLORREF face;
    } cases[] = {
        {"normal", 0, FALSE, TRUE, kNormal},
        {"hover", 0, TRUE, TRUE, kHover},
        {"pressed", ODS_SELECTED, FALSE, TRUE, kPressed},
        {"pressed wins over hover", ODS_SELECTED, TRUE, TRUE, kPressed},
        {"focus and default change nothing", ODS_FOCUS | ODS_DEFAULT, FALSE, TRUE, kNormal},
        {"disabled window", ODS_DISABLED, FALSE, TRUE, kDisabled},
        {"disabled wins over pressed and hover", ODS_DISABLED | ODS_SELECTED, TRUE, TRUE,
         kDisabled},
        {"logically disabled, window enabled", ODS_SELECTED, TRUE, FALSE, kDisabled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_button.SetEnabled(c.logicallyEnabled);
        m_button.EnableWindow(TRUE);
        m_button.SetHover(c.hover);
        EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, c.itemState), c.face));
    }
}

TEST_F(MyCoolButtonTest, MissingOptionalFacesFallBackToTheNormalOne)
{
    m_button.LoadBitmaps(IDB_FACE_NORMAL, 0, 0, IDB_FACE_DISABLED);
    EXPECT_TRUE(m_button.HasStyle(BS_OWNERDRAW));
    m_button.SetHover(TRUE);
    EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, 0), kNormal));
    EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, ODS_SELECTED), kNormal));
    EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, ODS_DISABLED), kDisabled));
}

TEST_F(MyCoolButtonTest, WithoutADisabledFaceTheNormalOneIsEmbossed)
{
    // White with a black block at (10, 5, 20 x 10): the system draws the dark parts in the
    // shadow colour, with a highlight one pixel down and right, on the button face.
    m_button.LoadBitmaps(IDB_FACE_EMBOSS, 0, 0, 0);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_3DHILIGHT);
    auto check = [&](auto pixel) {
        EXPECT_EQ(shadow, pixel(10, 5));
        EXPECT_EQ(shadow, pixel(29, 14));
        EXPECT_EQ(highlight, pixel(30, 10));
        EXPECT_EQ(highlight, pixel(20, 15));
        EXPECT_EQ(ButtonFace(), pixel(5, 5));  // white in the bitmap
        EXPECT_EQ(ButtonFace(), pixel(35, 18));
    };
    {
        SCOPED_TRACE("drawn for a disabled window");
        auto canvas = DrawInto(m_button, kFaceWidth, kFaceHeight, ODS_DISABLED);
        check([&](int x, int y) { return canvas->At(x, y); });
    }
    {
        SCOPED_TRACE("on screen after SetEnabled(FALSE)");
        m_button.SetEnabled(FALSE);
        EXPECT_FALSE(m_button.IsWindowEnabled());
        check([&](int x, int y) { return OnScreen(x, y); });
    }
}

TEST_F(MyCoolButtonTest, TheFaceIsCentredAndCutEvenlyWhenLarger)
{
    m_button.LoadBitmaps(IDB_FACE_PATTERN, 0, 0, 0);
    const CSize sizes[] = {{40, 20}, {50, 30}, {45, 25}, {41, 21}, {30, 10}, {31, 11}, {1, 1}};
    for (const CSize& size : sizes) {
        SCOPED_TRACE(::testing::PrintToString(size));
        auto canvas = DrawInto(m_button, size.cx, size.cy, 0);
        // Truncated toward zero: (31 - 40) / 2 is -4.
        const int left = (size.cx - kFaceWidth) / 2, top = (size.cy - kFaceHeight) / 2;
        int wrong = 0;
        for (int y = 0; y < size.cy; ++y) {
            for (int x = 0; x < size.cx; ++x) {
                const int bx = x - left, by = y - top;
                const bool inside = bx >= 0 && bx < kFaceWidth && by >= 0 && by < kFaceHeight;
                const COLORREF expected = inside ? PatternPixel(bx, by) : ButtonFace();
                if (canvas->At(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y
                                  << "): " << SameColor(expected, canvas->At(x, y)).message();
            }
        }
        EXPECT_EQ(0, wrong);
    }
}

TEST_F(MyCoolButtonTest, HoverFollowsTheRealPointerWithOneRepaintPerEntry)
{
    m_button.LoadBitmaps(IDB_FACE_NORMAL, IDB_FACE_HOVER, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    m_button.RedrawWindow();
    EXPECT_EQ(kNormal, OnScreen());

    PointAt(5, 5);
    ASSERT_TRUE(gui_test::PumpUntil([&] { return m_button.IsHover() == TRUE; }, 2000));
    EXPECT_EQ(kHover, OnScreen());

    // Many moves inside: no further invalidation, no further drawing.
    const int draws = m_button.draws;
    const int moves = m_button.mouseMoves;
    for (int i = 0; i < 12; ++i) PointAt(6 + 2 * i, 3 + i % 10);
    gui_test::PumpMessages(50);
    EXPECT_GE(m_button.mouseMoves - moves, 12);
    EXPECT_EQ(draws, m_button.draws);
    EXPECT_TRUE(m_button.IsHover());

    // Leaving shows the normal face; coming back the hover face again.
    PointAt(kFaceWidth + 30, kFaceHeight + 30);
    ASSERT_TRUE(gui_test::PumpUntil([&] { return m_button.IsHover() == FALSE; }, 2000));
    EXPECT_EQ(kNormal, OnScreen());
    PointAt(20, 10);
    ASSERT_TRUE(gui_test::PumpUntil([&] { return m_button.IsHover() == TRUE; }, 2000));
    EXPECT_EQ(kHover, OnScreen());
}

TEST_F(MyCoolButtonTest, PressingWithTheMouseShowsThePressedFaceAndClicks)
{
    m_button.LoadBitmaps(IDB_FACE_NORMAL, IDB_FACE_HOVER, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    PointAt(20, 10);
    ASSERT_TRUE(gui_test::PumpUntil([&] { return m_button.IsHover() == TRUE; }, 2000));

    ASSERT_TRUE(Press(MOUSEEVENTF_LEFTDOWN, [&] { return Pushed(); }));
    EXPECT_EQ(kPressed, OnScreen());  // while hovered too
    ASSERT_TRUE(Press(MOUSEEVENTF_LEFTUP, [&] { return m_owner.clicks > 0; }));
    EXPECT_EQ(1, m_owner.clicks);
    EXPECT_EQ(kHover, OnScreen());
}

TEST_F(MyCoolButtonTest, SetEnabledSwitchesTheFaceAndTheClicks)
{
    m_button.LoadBitmaps(IDB_FACE_NORMAL, IDB_FACE_HOVER, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    m_button.SetEnabled(FALSE);
    EXPECT_FALSE(m_button.IsWindowEnabled());
    EXPECT_EQ(kDisabled, OnScreen());

    // Under the pointer and pressed, still the disabled face and no click.
    PointAt(20, 10);
    EXPECT_FALSE(Press(
        MOUSEEVENTF_LEFTDOWN, [&] { return Pushed(); }, 200));
    EXPECT_EQ(kDisabled, OnScreen());
    Press(
        MOUSEEVENTF_LEFTUP, [&] { return m_owner.clicks > 0; }, 200);
    EXPECT_EQ(0, m_owner.clicks);

    m_button.SetEnabled(TRUE);
    EXPECT_TRUE(m_button.IsWindowEnabled());
    PointAt(21, 10);
    ASSERT_TRUE(Press(MOUSEEVENTF_LEFTDOWN, [&] { return Pushed(); }));
    ASSERT_TRUE(Press(MOUSEEVENTF_LEFTUP, [&] { return m_owner.clicks > 0; }));
    EXPECT_EQ(1, m_owner.clicks);
    EXPECT_EQ(kHover, OnScreen());

    // Logically disabled while the window is enabled: the disabled face.
    m_button.SetEnabled(FALSE);
    m_button.EnableWindow(TRUE);
    m_button.Invalidate();
    EXPECT_EQ(kDisabled, OnScreen());
}

TEST_F(MyCoolButtonTest, FailedLoadsLeaveAPushButtonAndDrawTheFaceColourAlone)
{
    // The normal face is missing: nothing becomes owner-drawn.
    m_button.LoadBitmaps(IDB_MISSING, IDB_FACE_HOVER, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    EXPECT_TRUE(m_button.HasStyle(BS_PUSHBUTTON));
    // An owner that makes it owner-drawn anyway gets the face colour, in every state.
    m_button.ModifyStyle(0, BS_OWNERDRAW, 0);
    for (UINT state : {0u, unsigned(ODS_SELECTED), unsigned(ODS_DISABLED)}) {
        SCOPED_TRACE(state);
        m_button.SetHover(state == 0);
        EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, state), ButtonFace()));
    }
    m_button.RedrawWindow();
    EXPECT_EQ(ButtonFace(), OnScreen());
}

TEST_F(MyCoolButtonTest, LoadingStopsAtTheFirstFailure)
{
    // Hover is missing: pressed and disabled are not loaded either.
    m_button.LoadBitmaps(IDB_FACE_NORMAL, IDB_MISSING, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    EXPECT_TRUE(m_button.HasStyle(BS_PUSHBUTTON));
    EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, ODS_SELECTED), kNormal));
    auto disabled = DrawInto(m_button, kFaceWidth, kFaceHeight, ODS_DISABLED);
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), disabled->At(20, 10));  // the embossed normal face
}

TEST_F(MyCoolButtonTest, LoadingAgainReplacesTheFaces)
{
    m_button.LoadBitmaps(IDB_FACE_NORMAL, IDB_FACE_HOVER, IDB_FACE_PRESSED, IDB_FACE_DISABLED);
    m_button.LoadBitmaps(IDB_FACE_PRESSED, 0, 0, 0);
    EXPECT_TRUE(m_button.HasStyle(BS_OWNERDRAW));
    m_button.SetHover(TRUE);
    EXPECT_TRUE(AllPixels(*DrawInto(m_button, kFaceWidth, kFaceHeight, 0), kPressed));
}

}  // namespace
