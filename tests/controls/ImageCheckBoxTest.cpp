// CImageCheckBox: the box bitmaps and the text beside them, the toggle with its command 2046
// on every button release (and on nothing else), the disabled text colour, and the box's
// place when a bitmap is missing; read back from real windows and from DrawItem into a
// memory DC. The bitmaps are the executable's own (167 checked, 168 unchecked).
#include "controls/ImageCheckBox.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Installer/res/resource.h"
#include "tests/controls/ControlTestWindows.h"

using control_test::Capture;
using control_test::FindInk;
using control_test::Ink;
using control_test::Repaint;
using gui_test::Canvas;

namespace {

const COLORREF kPanel = RGB(230, 246, 255);
const COLORREF kText = RGB(121, 121, 121);
const WPARAM kToggle = MAKEWPARAM(2046, BN_CLICKED);
const WPARAM kOwnClick = MAKEWPARAM(IDC_AGREE, BN_CLICKED);
const char kAgreeText[] = "我已阅读并同意德拉沃云";

static_assert(CImageCheckBox::kCommandId == 2046, "the dialog handles this command");

// The pixels of a bitmap resource of this program.
std::unique_ptr<Canvas> BitmapPixels(UINT id)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(id)) return nullptr;
    BITMAP info{};
    bitmap.GetBitmap(&info);
    auto canvas = std::make_unique<Canvas>(info.bmWidth, info.bmHeight, RGB(1, 2, 3));
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(hMem, bitmap.m_hObject);
    ::BitBlt(canvas->dc(), 0, 0, info.bmWidth, info.bmHeight, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, old);
    ::DeleteDC(hMem);
    return canvas;
}

// Pixels of canvas at (x, y) that differ from the 24 x 24 box; parts off the canvas are
// not compared.
int BoxDifferences(const Canvas& canvas, int x, int y, const Canvas& box)
{
    int n = 0;
    for (int by = 0; by < 24; ++by)
        for (int bx = 0; bx < 24; ++bx) {
            int cx = x + bx, cy = y + by;
            if (cx < 0 || cy < 0 || cx >= canvas.width() || cy >= canvas.height()) continue;
            n += canvas.At(cx, cy) != box.At(bx, by);
        }
    return n;
}

class CProbeCheckBox : public CImageCheckBox {
public:
    bool HasBitmaps() const
    {
        return m_bmpChecked.GetSafeHandle() && m_bmpUnchecked.GetSafeHandle();
    }
};

class ImageCheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        checked = BitmapPixels(IDB_CHECK_CHECKED);
        unchecked = BitmapPixels(IDB_CHECK_UNCHECKED);
        ASSERT_TRUE(checked && unchecked);
        font = control_test::TestFont(-17);  // the installer's 13 points at 96 DPI
        ASSERT_TRUE(font);
        ASSERT_TRUE(parent.Make(300, 200, 320, 120));
        // The template's check box, then what the installer does to it.
        HWND hWnd = ::CreateWindowExA(0, "Button", kAgreeText,
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 10, 10,
                                      150, 20, parent.m_hWnd, reinterpret_cast<HMENU>(IDC_AGREE),
                                      ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, hWnd);
        ASSERT_TRUE(box.SubclassDlgItem(IDC_AGREE, &parent));
        EXPECT_TRUE(box.LoadBitmaps(IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED));
        box.ModifyStyle(0, BS_OWNERDRAW, 0);
        box.SetCheck(1);
        box.MoveWindow(20, 40, 200, 25, TRUE);
        box.SetFont(font.get(), TRUE);
        // The parent reads the new state when the command arrives, as the installer does.
        parent.onCommand = [this](const control_test::Command& c) {
            if (c.wParam == kToggle) statesSeen.push_back(box.IsChecked());
        };
        Repaint(parent);
    }
    void TearDown() override { ::SetCursorPos(0, 0); }

    LPARAM ClientCentre() const { return MAKELPARAM(100, 12); }
    // The number of 2046 commands, each checked to carry the box's window.
    int Toggles() const
    {
        int n = 0;
        for (const auto& c : parent.commands) {
            if (c.wParam != kToggle) continue;
            EXPECT_EQ(reinterpret_cast<LPARAM>(box.m_hWnd), c.lParam);
            ++n;
        }
        return n;
    }

    // Real mouse input at the box's centre, through the system's input queue.
    void Click(int clicks)
    {
        CRect rect;
        box.GetWindowRect(&rect);
        CPoint centre = rect.CenterPoint();
        ASSERT_TRUE(::SetCursorPos(centre.x, centre.y));
        gui_test::PumpMessages(20);
        for (int i = 0; i < clicks; ++i) {
            INPUT input[2]{};
            input[0].type = input[1].type = INPUT_MOUSE;
            input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            ASSERT_EQ(2u, ::SendInput(2, input, sizeof(INPUT)));
            gui_test::PumpMessages(30);
        }
        gui_test::PumpMessages(100);
    }

    std::unique_ptr<Canvas> checked, unchecked;
    std::unique_ptr<CFont> font;
    control_test::CParentWnd parent;
    CProbeCheckBox box;
    std::vector<bool> statesSeen;
};

TEST_F(ImageCheckBoxTest, NewBoxIsCheckedAndDrawsTheCheckedBitmapWithGreyTextBeside)
{
    EXPECT_TRUE(box.IsChecked());
    auto canvas = Capture(box);
    ASSERT_EQ(25, canvas->height());
    // Left edge, (25 - 24) / 2 = 0 from the top, copied opaquely.
    EXPECT_EQ(0, BoxDifferences(*canvas, 0, 0, *checked));
    for (int x = 0; x < 24; ++x) EXPECT_EQ(kPanel, canvas->At(x, 24)) << x;
    // The text starts after a 4-pixel gap, in one grey, on one line.
    Ink text = FindInk(*canvas, kPanel, CRect(24, 0, 200, 25));
    ASSERT_GT(text.count, 30);
    EXPECT_TRUE(text.Only(kText));
    EXPECT_GE(text.box.left, 28);
    EXPECT_LE(text.box.left, 30);
    EXPECT_LE(text.box.Height(), 17);
}

TEST_F(ImageCheckBoxTest, OneClickTogglesOnceAndSendsOneCommand)
{
    Click(1);
    EXPECT_EQ(1, Toggles());
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(std::vector<bool>{false}, statesSeen) << "the parent reads the new state";
    // The command comes before the button's own click notification.
    ASSERT_EQ(2u, parent.commands.size());
    EXPECT_EQ(kToggle, parent.commands[0].wParam);
    EXPECT_EQ(kOwnClick, parent.commands[1].wParam);
    box.UpdateWindow();
    EXPECT_EQ(0, BoxDifferences(*Capture(box), 0, 0, *unchecked));

    Click(1);
    EXPECT_EQ(2, Toggles());
    EXPECT_TRUE(box.IsChecked());
    box.UpdateWindow();
    EXPECT_EQ(0, BoxDifferences(*Capture(box), 0, 0, *checked));
}

TEST_F(ImageCheckBoxTest, DoubleClickTogglesTwice)
{
    Click(2);
    EXPECT_EQ(2, Toggles());
    EXPECT_EQ((std::vector<bool>{false, true}), statesSeen);
    EXPECT_TRUE(box.IsChecked());
}

TEST_F(ImageCheckBoxTest, ReleaseOutsideAfterAPressInsideStillToggles)
{
    box.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ClientCentre());
    EXPECT_EQ(box.m_hWnd, ::GetCapture());
    box.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 90));  // off the control
    EXPECT_EQ(1, Toggles());
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(0, parent.CountCommands(kOwnClick)) << "no click of the button itself";
}

TEST_F(ImageCheckBoxTest, SpaceBarTogglesNothing)
{
    box.SetFocus();
    ASSERT_EQ(box.m_hWnd, ::GetFocus());
    box.SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
    box.SendMessage(WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
    gui_test::PumpMessages(50);
    EXPECT_EQ(1, parent.CountCommands(kOwnClick)) << "the key reached the button";
    EXPECT_EQ(0, Toggles());
    EXPECT_TRUE(box.IsChecked());
}

TEST_F(ImageCheckBoxTest, TheButtonsOwnCheckStatePlaysNoPart)
{
    box.SetCheck(0);
    Repaint(box);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(0, BoxDifferences(*Capture(box), 0, 0, *checked));
}

TEST_F(ImageCheckBoxTest, DisabledBoxDrawsItsTextInTheSystemGreyAndTheSameBox)
{
    box.EnableWindow(FALSE);
    Repaint(box);
    auto canvas = Capture(box);
    EXPECT_EQ(0, BoxDifferences(*canvas, 0, 0, *checked));
    Ink text = FindInk(*canvas, kPanel, CRect(24, 0, 200, 25));
    ASSERT_GT(text.count, 30);
    EXPECT_TRUE(text.Only(::GetSysColor(COLOR_GRAYTEXT)));
}

TEST_F(ImageCheckBoxTest, EmptyTextLeavesTheBackgroundAndTheBox)
{
    box.SetWindowText("");
    Repaint(box);
    auto canvas = Capture(box);
    EXPECT_EQ(0, BoxDifferences(*canvas, 0, 0, *checked));
    EXPECT_EQ(0, FindInk(*canvas, kPanel, CRect(24, 0, 200, 25)).count);
}

// DrawItem into a memory DC: the box is centred vertically with the quotient truncated
// toward zero, also when the control is lower than the box.
TEST_F(ImageCheckBoxTest, BoxIsCentredVerticallyForAnyHeight)
{
    box.SetWindowText("");
    const struct {
        int height, boxTop;
    } cases[] = {{24, 0}, {25, 0}, {26, 1}, {30, 3}, {20, -2}, {21, -1}, {1, -11}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        Canvas canvas(60, c.height, RGB(1, 2, 3));
        DRAWITEMSTRUCT item{ODT_BUTTON, IDC_AGREE,  0,           ODA_DRAWENTIRE,
                            0,          box.m_hWnd, canvas.dc(), {0, 0, 60, c.height},
                            0};
        box.DrawItem(&item);
        EXPECT_EQ(0, BoxDifferences(canvas, 0, c.boxTop, *checked));
        // Every pixel that is not the box is the background.
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < 60; ++x)
                if (x >= 24 || y < c.boxTop || y >= c.boxTop + 24) {
                    ASSERT_EQ(kPanel, canvas.At(x, y)) << x << "," << y;
                }
    }
}

// A bitmap that did not load leaves its place in the background colour.
TEST_F(ImageCheckBoxTest, MissingBitmapLeavesTheBackground)
{
    const UINT kNoSuchBitmap = 9999;
    // Both loads are tried; the result is the second one's.
    CProbeCheckBox other;
    EXPECT_TRUE(other.LoadBitmaps(kNoSuchBitmap, IDB_CHECK_CHECKED));
    EXPECT_FALSE(other.HasBitmaps());
    EXPECT_FALSE(box.LoadBitmaps(IDB_CHECK_UNCHECKED, kNoSuchBitmap));
    Repaint(box);
    EXPECT_EQ(0, FindInk(*Capture(box), kPanel, CRect(0, 0, 24, 25)).count);

    Click(1);  // now unchecked: that bitmap did load
    box.UpdateWindow();
    EXPECT_EQ(0, BoxDifferences(*Capture(box), 0, 0, *unchecked));

    // A box that never got bitmaps draws the background and its text.
    CImageCheckBox bare;
    ASSERT_TRUE(bare.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(20, 70, 120, 95), &parent, 77));
    Repaint(bare);
    EXPECT_EQ(0, FindInk(*Capture(bare), kPanel).count);

    // Loading again replaces the bitmaps.
    EXPECT_TRUE(box.LoadBitmaps(IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED));
    EXPECT_TRUE(box.HasBitmaps());
}

}  // namespace
