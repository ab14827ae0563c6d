// CMyEditBrowseCtrl: the flat text area with its vertically centred text, the flat browse
// button with the executable's folder image (PNG 187), hot and pressed, and the button without
// an image; read back from a real field set up as the installer sets up its path field, and
// from the button hook drawing into a memory DC.
#include "controls/MyEditBrowseCtrl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Installer/res/resource.h"
#include "graphics/Dpi.h"
#include "tests/controls/ControlTestWindows.h"

using control_test::Capture;
using control_test::DifferentPixels;
using control_test::FindInk;
using control_test::Ink;
using control_test::Repaint;
using gui_test::Canvas;

namespace {

const COLORREF kField = RGB(250, 250, 250);
const COLORREF kButton = RGB(240, 240, 240);
const COLORREF kButtonHot = RGB(220, 220, 220);
const char kFolderMode[] = "<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>";

static_assert(CMyEditBrowseCtrl::kBrowseImageResourceId == IDP_OPEN_SAVE_PATH,
              "the executable ships the browse image under this id");

// Counts the paints of its client area.
class CProbeField : public CMyEditBrowseCtrl {
public:
    int paints = 0;

protected:
    afx_msg void OnPaint()
    {
        ++paints;
        CMyEditBrowseCtrl::OnPaint();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeField, CMyEditBrowseCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// Bluish: the folder image, not one of the button's greys.
bool IsImagePixel(COLORREF c) { return GetBValue(c) > GetRValue(c) + 40; }

class MyEditBrowseCtrlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { control_test::StartGdiPlus(); }

    void SetUp() override
    {
        ASSERT_TRUE(AfxRegisterEditBrowseClass());
        ASSERT_TRUE(parent.Make(200, 300, 420, 80));
        // The template's control with its initialisation record, as the dialog manager makes
        // it; then what the installer's dialog does to its path field (but it stays shown).
        HWND hWnd = ::CreateWindowExA(
            WS_EX_CLIENTEDGE, "MfcEditBrowse", "",
            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 10, 10,
            300, 22, parent.m_hWnd, reinterpret_cast<HMENU>(IDC_PATH_FIELD),
            ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, hWnd);
        ::SendMessageA(hWnd, AFX_WM_INITCTRL, sizeof kFolderMode - 1,
                       reinterpret_cast<LPARAM>(kFolderMode));
        ASSERT_TRUE(field.SubclassWindow(hWnd));
        field.ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
        field.ModifyStyle(0, WS_BORDER, 0);
        field.MoveWindow(20, 20, 350, 20, TRUE);
        SetWindowHeight(&field, 20);
        field.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Repaint(parent);
    }
    void TearDown() override { ::SetCursorPos(0, 0); }

    // The button's rectangle in window coordinates, and its centre on the screen.
    CRect Button() const { return field.GetButtonRect(); }
    CPoint ButtonOnScreen() const
    {
        CRect window;
        field.GetWindowRect(&window);
        CPoint centre = Button().CenterPoint();
        return CPoint(window.left + centre.x, window.top + centre.y);
    }

    // The field's client area as it should look: the field colour and text at (5, y) in the
    // window-text colour, drawn here with the field's font.
    std::unique_ptr<Canvas> Expected(const char* text, CFont& font, int y)
    {
        CRect client;
        field.GetClientRect(&client);
        auto canvas = std::make_unique<Canvas>(client.Width(), client.Height(), kField);
        HGDIOBJ old = ::SelectObject(canvas->dc(), font.m_hObject);
        ::SetTextColor(canvas->dc(), ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkMode(canvas->dc(), TRANSPARENT);
        ::TextOutA(canvas->dc(), 5, y, text, static_cast<int>(strlen(text)));
        ::SelectObject(canvas->dc(), old);
        return canvas;
    }

    control_test::CParentWnd parent;
    CProbeField field;
};

TEST_F(MyEditBrowseCtrlTest, FieldIsSetUpAsInTheInstaller)
{
    EXPECT_TRUE(field.IsKindOf(RUNTIME_CLASS(CMFCEditBrowseCtrl)));
    EXPECT_STREQ("CMyEditBrowseCtrl", field.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_Folder, field.GetMode());
    CRect client;
    field.GetClientRect(&client);
    EXPECT_EQ(18, client.Height()) << "20 pixels less the 1-pixel frame";
    EXPECT_EQ(18, Button().Height());
}

TEST_F(MyEditBrowseCtrlTest, EmptyFieldShowsOnlyTheFlatFill)
{
    auto canvas = Capture(field);
    EXPECT_EQ(0, FindInk(*canvas, kField).count);
}

// With an 18-pixel client, text measuring 17 pixels starts at y 0 and text measuring 13 at
// y 2 ((18 - 13) / 2 truncated); always from x 5, one line, cut at the client's right edge.
TEST_F(MyEditBrowseCtrlTest, TextIsCentredVerticallyByItsMeasuredHeight)
{
    const char kLong[] =
        "C:\\Program Files\\德拉沃归档助手\\a folder name long enough to pass the right edge\\";
    const struct {
        int height, top;
        const char* text;
    } cases[] = {{17, 0, "C:\\Program Files\\德拉沃归档助手\\"},
                 {13, 2, "C:\\Program Files\\德拉沃归档助手\\"},
                 {17, 0, kLong}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        SCOPED_TRACE(c.text);
        auto font = control_test::FontMeasuring(c.height);
        ASSERT_TRUE(font);
        field.SetFont(font.get(), FALSE);
        field.SetWindowText(c.text);
        Repaint(field);
        auto drawn = Capture(field);
        EXPECT_EQ(0, DifferentPixels(*Expected(c.text, *font, c.top), *drawn));
        // One pixel off would show.
        EXPECT_GT(DifferentPixels(*Expected(c.text, *font, c.top + 1), *drawn), 0);
        EXPECT_GT(FindInk(*drawn, kField).count, 30);
        field.SetFont(nullptr, FALSE);
    }
}

TEST_F(MyEditBrowseCtrlTest, FocusRepaintsTheFieldWithTheSamePicture)
{
    auto font = control_test::FontMeasuring(17);
    ASSERT_TRUE(font);
    field.SetFont(font.get(), FALSE);
    field.SetWindowText("C:\\德拉沃\\");
    Repaint(field);
    auto before = Capture(field);

    int paints = field.paints;
    field.SetFocus();
    field.UpdateWindow();
    EXPECT_GT(field.paints, paints);
    ::HideCaret(field.m_hWnd);  // the edit's own caret blinks over the picture
    EXPECT_EQ(0, DifferentPixels(*before, *Capture(field)));
    ::ShowCaret(field.m_hWnd);

    paints = field.paints;
    parent.SetFocus();
    field.UpdateWindow();
    EXPECT_GT(field.paints, paints);
    EXPECT_EQ(0, DifferentPixels(*before, *Capture(field)));
    field.SetFont(nullptr, FALSE);
}

TEST_F(MyEditBrowseCtrlTest, BrowseButtonIsFlatGreyWithTheImageAndLighterWhileHot)
{
    const CRect button = Button();
    // 16 x 16 drawn 13 x 13, centred in the 18 x 18 button: (18 - 13) / 2 = 2 in.
    const CRect image(button.left + 2, button.top + 2, button.left + 15, button.top + 15);
    auto expectButton = [&](COLORREF face) {
        auto window = Capture(field, false);
        int imagePixels = 0;
        for (int y = button.top; y < button.bottom; ++y)
            for (int x = button.left; x < button.right; ++x) {
                COLORREF c = window->At(x, y);
                if (!image.PtInRect(CPoint(x, y))) {
                    ASSERT_EQ(face, c) << x << "," << y;
                } else {
                    imagePixels += IsImagePixel(c);
                }
            }
        EXPECT_GT(imagePixels, 60);
        EXPECT_TRUE(IsImagePixel(window->At(image.CenterPoint().x, image.CenterPoint().y)));
    };
    expectButton(kButton);

    // The pointer over the button makes it hot.
    CPoint onButton = ButtonOnScreen();
    ASSERT_TRUE(::SetCursorPos(onButton.x, onButton.y));
    field.SendMessage(WM_NCMOUSEMOVE, HTOBJECT, MAKELPARAM(onButton.x, onButton.y));
    expectButton(kButtonHot);

    // Pressed looks like hot; a release off the button browses nowhere.
    field.SendMessage(WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(onButton.x, onButton.y));
    expectButton(kButtonHot);
    field.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(nullptr, ::GetCapture());

    // The pointer leaves: plain again.
    ASSERT_TRUE(::SetCursorPos(5, 5));
    field.SendMessage(WM_NCMOUSELEAVE);
    expectButton(kButton);
}

// The hook drawing into a memory DC: a 20 x 20 button at (0, 0) gets the image 13 x 13 at
// (3, 3); the pressed flag changes nothing, the hot flag the grey.
TEST_F(MyEditBrowseCtrlTest, ImageIsScaledToItsSizeLessThreeAndCentred)
{
    const struct {
        BOOL pressed, hot;
        COLORREF face;
    } cases[] = {{FALSE, FALSE, kButton},
                 {TRUE, FALSE, kButton},
                 {FALSE, TRUE, kButtonHot},
                 {TRUE, TRUE, kButtonHot}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressed * 2 + c.hot);
        Canvas canvas(30, 30, RGB(1, 2, 3));
        field.OnDrawBrowseButton(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), c.pressed,
                                 c.hot);
        // The drawn image lies within (3, 3)-(16, 16) and fills most of it: the folder spans
        // 14 of the PNG's 16 columns.
        Ink ink = FindInk(canvas, c.face, CRect(0, 0, 20, 20));
        EXPECT_GE(ink.box.left, 3);
        EXPECT_GE(ink.box.top, 3);
        EXPECT_LE(ink.box.right, 16);
        EXPECT_LE(ink.box.bottom, 16);
        EXPECT_GE(ink.box.Width(), 11);
        EXPECT_TRUE(IsImagePixel(canvas.At(9, 11)));
        // Nothing outside the button's rectangle.
        EXPECT_EQ(0, FindInk(canvas, RGB(1, 2, 3), CRect(20, 0, 30, 30)).count);
        EXPECT_EQ(0, FindInk(canvas, RGB(1, 2, 3), CRect(0, 20, 20, 30)).count);
    }
}

// Without the image resource the button is a plain grey square; every paint tries again, and
// once the resource is there the image shows.
TEST_F(MyEditBrowseCtrlTest, WithoutTheImageResourceTheButtonIsPlainUntilItLoads)
{
    HINSTANCE resources = AfxGetResourceHandle();
    CMyEditBrowseCtrl::GetBrowseImage().Destroy();
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll"));  // has no such PNG
    for (BOOL hot : {FALSE, TRUE, FALSE}) {
        Canvas canvas(20, 20, RGB(1, 2, 3));
        field.OnDrawBrowseButton(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), FALSE, hot);
        EXPECT_EQ(0, FindInk(canvas, hot ? kButtonHot : kButton).count) << hot;
    }
    EXPECT_TRUE(CMyEditBrowseCtrl::GetBrowseImage().IsNull());

    // The real field's button, too.
    field.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    auto window = Capture(field, false);
    EXPECT_EQ(0, FindInk(*window, kButton, Button()).count);

    AfxSetResourceHandle(resources);
    Canvas canvas(20, 20, RGB(1, 2, 3));
    field.OnDrawBrowseButton(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), FALSE, FALSE);
    EXPECT_TRUE(IsImagePixel(canvas.At(9, 11)));
    EXPECT_FALSE(CMyEditBrowseCtrl::GetBrowseImage().IsNull());
    EXPECT_EQ(16, CMyEditBrowseCtrl::GetBrowseImage().GetWidth());
}

// Whatever image the holder has is drawn its size less 3, centred with the quotients truncated;
// an image of 3 pixels or less leaves the plain face (a negative size would draw it mirrored).
TEST_F(MyEditBrowseCtrlTest, AnyImageIsDrawnItsSizeLessThreeAndATinyOneNotAtAll)
{
    const struct {
        int size;
        CRect drawn;                        // in a 20 x 20 button at (0, 0)
    } cases[] = {{7, CRect(8, 8, 12, 12)},  // 4 x 4 at (20 - 4) / 2
                 {8, CRect(7, 7, 12, 12)},  // 5 x 5 at (20 - 5) / 2 = 7
                 {4, CRect(9, 9, 10, 10)},  // 1 x 1 at 19 / 2 = 9
                 {3, CRect(0, 0, 0, 0)},    // nothing
                 {1, CRect(0, 0, 0, 0)},
                 {26, CRect(-1, -1, 21, 21)}};  // larger than the button: 23 x 23 at -1
    CImage& image = CMyEditBrowseCtrl::GetBrowseImage();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(image.Create(c.size, c.size, 24));  // black, copied opaquely
        Canvas canvas(20, 20, RGB(1, 2, 3));
        field.OnDrawBrowseButton(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), FALSE, FALSE);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(c.drawn.PtInRect(CPoint(x, y)) ? RGB(0, 0, 0) : kButton, canvas.At(x, y))
                    << x << "," << y;
    }
    image.Destroy();  // the next paint loads the resource again
}

}  // namespace
