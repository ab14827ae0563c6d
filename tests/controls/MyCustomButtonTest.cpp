// CMyCustomButton: the flat link look, its hover colour with the leave notification, and the
// look that pressing, disabling and long texts do not change; read back from real windows.
#include "controls/MyCustomButton.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/controls/ControlTestWindows.h"

using control_test::Capture;
using control_test::FindInk;
using control_test::Ink;
using control_test::Repaint;

namespace {

const COLORREF kPanel = RGB(230, 246, 255);
const COLORREF kText = RGB(81, 81, 81);
const COLORREF kHoverText = RGB(76, 157, 254);

// Counts its paints and shows its hover flag.
class CProbeButton : public CMyCustomButton {
public:
    int draws = 0;
    bool Hovered() const { return m_bHover != FALSE; }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++draws;
        CMyCustomButton::DrawItem(lpDIS);
    }
};

class MyCustomButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = control_test::TestFont(-17);  // the installer's 13 points at 96 DPI
        ASSERT_TRUE(font);
        ASSERT_TRUE(parent.Make(300, 200, 300, 120));
        // Made and styled as the installer does with its agreement link.
        ASSERT_TRUE(button.Create("用户许可协议", WS_VISIBLE | WS_TABSTOP, CRect(40, 30, 150, 60),
                                  &parent, 1018));
        button.ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
        button.ModifyStyle(0, BS_FLAT | BS_OWNERDRAW, 0);
        button.SetFont(font.get(), TRUE);
        Repaint(parent);
    }
    void TearDown() override { ::SetCursorPos(0, 0); }

    CPoint ScreenCentre() const
    {
        CRect rect;
        button.GetWindowRect(&rect);
        return rect.CenterPoint();
    }

    std::unique_ptr<CFont> font;
    control_test::CParentWnd parent;
    CProbeButton button;
};

// The panel everywhere but where the text is, the text in one colour, centred on one line.
void ExpectFlatLinkWithText(const gui_test::Canvas& canvas, COLORREF textColor)
{
    Ink ink = FindInk(canvas, kPanel);
    ASSERT_GT(ink.count, 30);
    EXPECT_TRUE(ink.Only(textColor)) << ink.colors.size() << " ink colours";
    // Glyph ink sits inside the line's cell, so its middle is within a few pixels of the
    // button's; the border rows and columns stay the panel colour.
    EXPECT_NEAR(canvas.width() / 2.0, (ink.box.left + ink.box.right) / 2.0, 3.0);
    EXPECT_NEAR(canvas.height() / 2.0, (ink.box.top + ink.box.bottom) / 2.0, 4.0);
    EXPECT_LE(ink.box.Height(), 17);
    EXPECT_GT(ink.box.left, 0);
    EXPECT_GT(ink.box.top, 0);
    EXPECT_LT(ink.box.right, canvas.width());
    EXPECT_LT(ink.box.bottom, canvas.height());
}

TEST_F(MyCustomButtonTest, DrawsAFlatPanelWithGreyCentredText)
{
    auto canvas = Capture(button);
    ASSERT_EQ(110, canvas->width());
    ExpectFlatLinkWithText(*canvas, kText);
}

TEST_F(MyCustomButtonTest, HoverTurnsOnlyTheTextBlueUntilThePointerLeaves)
{
    // The pointer goes onto the button; the system's moves arrive as WM_MOUSEMOVE.
    CPoint centre = ScreenCentre();
    ASSERT_TRUE(::SetCursorPos(centre.x, centre.y));
    CPoint client = centre;
    button.ScreenToClient(&client);
    int before = button.draws;
    for (int i = 0; i < 5; ++i)
        button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.x + i, client.y));
    button.UpdateWindow();
    EXPECT_TRUE(button.Hovered());
    EXPECT_EQ(before + 1, button.draws) << "only the first move repaints";
    ExpectFlatLinkWithText(*Capture(button), kHoverText);

    // The pointer leaves: the armed notification ends the hover.
    ASSERT_TRUE(::SetCursorPos(5, 5));
    ASSERT_TRUE(gui_test::PumpUntil([&] { return !button.Hovered(); }));
    button.UpdateWindow();
    ExpectFlatLinkWithText(*Capture(button), kText);
}

TEST_F(MyCustomButtonTest, ClickReachesTheOwnerAndLeavingAfterwardsRestoresTheText)
{
    CPoint centre = ScreenCentre();
    ASSERT_TRUE(::SetCursorPos(centre.x, centre.y));
    CPoint client = centre;
    button.ScreenToClient(&client);
    LPARAM at = MAKELPARAM(client.x, client.y);
    button.SendMessage(WM_MOUSEMOVE, 0, at);
    int before = button.draws;
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    button.UpdateWindow();
    EXPECT_GT(button.draws, before) << "a press repaints";
    before = button.draws;
    button.SendMessage(WM_LBUTTONUP, 0, at);
    button.UpdateWindow();
    EXPECT_GT(button.draws, before) << "a release repaints";
    EXPECT_EQ(1, parent.CountCommands(MAKEWPARAM(1018, BN_CLICKED)));
    ExpectFlatLinkWithText(*Capture(button), kHoverText);

    ASSERT_TRUE(::SetCursorPos(5, 5));
    ASSERT_TRUE(gui_test::PumpUntil([&] { return !button.Hovered(); }));
    button.UpdateWindow();
    ExpectFlatLinkWithText(*Capture(button), kText);
}

TEST_F(MyCustomButtonTest, PressedFocusedAndDisabledLookLikeNormal)
{
    auto normal = Capture(button);
    button.SetFocus();
    button.SetState(TRUE);  // drawn pushed
    Repaint(button);
    EXPECT_EQ(0, control_test::DifferentPixels(*normal, *Capture(button)));
    button.SetState(FALSE);
    button.EnableWindow(FALSE);
    Repaint(button);
    EXPECT_EQ(0, control_test::DifferentPixels(*normal, *Capture(button)));
}

TEST_F(MyCustomButtonTest, TextWiderThanTheButtonIsClippedAtBothSidesOnOneLine)
{
    button.SetWindowText("用户许可协议用户许可协议用户许可协议");
    Repaint(button);
    auto canvas = Capture(button);
    Ink ink = FindInk(*canvas, kPanel);
    EXPECT_TRUE(ink.Only(kText));
    EXPECT_LE(ink.box.left, 3);
    EXPECT_GE(ink.box.right, canvas->width() - 3);
    EXPECT_LE(ink.box.Height(), 17) << "one line, not wrapped";

    // Without text only the panel is left.
    button.SetWindowText("");
    Repaint(button);
    EXPECT_EQ(0, FindInk(*Capture(button), kPanel).count);
}

}  // namespace
