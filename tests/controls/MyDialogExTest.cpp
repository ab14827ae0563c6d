// CMyDialogEx: the skinned frame as a real modal dialog on screen: its size and styles, the
// picture read back from the window, moving by the background with the real mouse, the
// maximise and minimise commands, the caption-button layout and the sizing hit-test.
#include "controls/MyDialogEx.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "controls/MyProgressCtrl.h"
#include "framework/GdiPlus.h"
#include "tests/controls/ControlsTestIds.h"
#include "tests/controls/ControlsTestPrint.h"
#include "tests/support/GuiTest.h"

using gui_test::Canvas;
using gui_test::SameColor;

namespace {

const COLORREF kGrey = RGB(150, 150, 150);

// The pixels of IDP_OPAQUE, as tests/graphics/data/make_test_images.py draws them.
COLORREF OpaquePixel(int x, int y)
{
    return RGB((x * 7 + y * 3) & 0xFF, (x ^ y) & 0xFF, ((x / 10) * 37 + (y / 10) * 91) & 0xFF);
}

// Where the test places the progress bar inside the frame, as the installer does.
const CRect kProgressRect(43, 445, 43 + 550, 445 + 10);

// A frame as a derived dialog uses it. Once the dialog is on screen a timer runs the test's
// check, which ends the dialog.
class CTestFrame : public CMyDialogEx {
public:
    CTestFrame() : CMyDialogEx(IDD_FRAME, nullptr) {}

    // Set before DoModal.
    UINT background = IDP_OPAQUE;  // 0: none
    bool resizable = false;
    bool maximizeDisabled = false;
    bool recordSysCommands = false;  // record WM_SYSCOMMAND instead of running it
    bool markBackground = false;     // OnDrawBackground fills (300, 300, 10 x 10)
    CPoint origin{40, 30};
    std::function<void(CTestFrame&)> onShown;

    // Seen by the test.
    CMyProgressCtrl m_progress;
    std::vector<UINT> sysCommands;
    int backgroundDraws = 0;
    CSize backgroundSize;
    bool sizedBeforeInit = false;
    std::atomic<bool> inMoveLoop{false};  // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE
    CPoint closeAfterEarlySize{-1, -1};

    bool IsMaximized() const { return m_bMaximized; }
    CMyCoolButton& CaptionButton(int k)
    {
        return k == 1 ? m_btnClose : k == 2 ? m_btnMaximize : m_btnMinimize;
    }
    bool Release() { return ReleaseBackground(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CMyDialogEx::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_FRAME_PROGRESS, m_progress);
    }
    BOOL OnInitDialog() override
    {
        CMyDialogEx::OnInitDialog();
        if (background) LoadBackground(::GetModuleHandleA(nullptr), background);
        SetResizable(resizable);
        m_progress.MoveWindow(&kProgressRect);
        SetWindowPos(nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetTimer(1, 30);
        return TRUE;
    }
    bool IsMaximizeDisabled() override { return maximizeDisabled; }
    void OnDrawBackground(CDC* pDC, int cx, int cy) override
    {
        ++backgroundDraws;
        backgroundSize = CSize(cx, cy);
        if (markBackground) pDC->FillSolidRect(300, 300, 10, 10, RGB(1, 2, 3));
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        if (onShown) onShown(*this);
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        if (!recordSysCommands) return CMyDialogEx::OnSysCommand(nID, lParam);
        sysCommands.push_back(nID);
    }
    afx_msg LRESULT OnEnterSizeMove(WPARAM, LPARAM)
    {
        inMoveLoop = true;
        return Default();
    }
    afx_msg LRESULT OnExitSizeMove(WPARAM, LPARAM)
    {
        inMoveLoop = false;
        return Default();
    }
    // The last caption button is being made, the frame's OnInitDialog has not finished: a
    // WM_SIZE now must not lay anything out.
    afx_msg LRESULT OnParentNotify(WPARAM wParam, LPARAM)
    {
        if (LOWORD(wParam) == WM_CREATE && HIWORD(wParam) == ID_FRAME_MINIMIZE) {
            sizedBeforeInit = true;
            SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(500, 400));
            CRect rc;
            ::GetWindowRect(::GetDlgItem(m_hWnd, IDCANCEL), &rc);
            ScreenToClient(&rc);
            closeAfterEarlySize = rc.TopLeft();
        }
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CMyDialogEx)
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(WM_PARENTNOTIFY, &CTestFrame::OnParentNotify)
    ON_MESSAGE(WM_ENTERSIZEMOVE, &CTestFrame::OnEnterSizeMove)
    ON_MESSAGE(WM_EXITSIZEMOVE, &CTestFrame::OnExitSizeMove)
END_MESSAGE_MAP()

// The window's client area as it is on screen.
std::unique_ptr<Canvas> Snapshot(CWnd& wnd)
{
    wnd.RedrawWindow(nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    gui_test::PumpMessages(30);
    CRect client;
    wnd.GetClientRect(&client);
    auto canvas = std::make_unique<Canvas>(client.Width(), client.Height(), RGB(255, 0, 255));
    CClientDC dc(&wnd);
    ::BitBlt(canvas->dc(), 0, 0, client.Width(), client.Height(), dc, 0, 0, SRCCOPY);
    return canvas;
}

CRect WindowRect(CWnd& wnd)
{
    CRect rc;
    wnd.GetWindowRect(&rc);
    return rc;
}

// Counts the pixels outside the progress bar that are not grey.
int NonGreyOutsideChildren(const Canvas& canvas)
{
    int count = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (!kProgressRect.PtInRect(CPoint(x, y)) && canvas.At(x, y) != kGrey) ++count;
    return count;
}

// Waits on the calling thread until done() or the time runs out.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs) ::Sleep(5);
    return done();
}

// Presses the left button on the frame's client point at, moves the real mouse by offset in
// steps and lets go, from a second thread while the dialog's thread runs its messages (and
// the system's move loop). Each step waits for the window to follow it rather than for a
// fixed time, so a busy machine only makes it slower; bMoves says whether a move loop is
// expected at all.
void DragWithMouse(CTestFrame& frame, CPoint at, CSize offset, bool bMoves)
{
    CPoint start = at;
    frame.ClientToScreen(&start);
    const CPoint from = WindowRect(frame).TopLeft();
    std::atomic<bool> done{false};
    std::thread mouse([&] {
        auto button = [](DWORD flags) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flags;
            ::SendInput(1, &input, sizeof input);
        };
        ::SetCursorPos(start.x, start.y);
        ::Sleep(50);
        button(MOUSEEVENTF_LEFTDOWN);
        WaitFor([&] { return frame.inMoveLoop.load(); }, bMoves ? 3000 : 300);
        for (int i = 1; i <= 10; ++i) {
            const CSize step(offset.cx * i / 10, offset.cy * i / 10);
            ::SetCursorPos(start.x + step.cx, start.y + step.cy);
            if (bMoves)
                WaitFor([&] { return WindowRect(frame).TopLeft() == from + step; }, 2000);
            else
                ::Sleep(20);
        }
        button(MOUSEEVENTF_LEFTUP);
        WaitFor([&] { return !frame.inMoveLoop.load(); }, 2000);
        done = true;
    });
    gui_test::PumpUntil([&] { return done.load(); }, 20000);
    mouse.join();
    gui_test::PumpMessages(50);
}

class MyDialogExTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        // Started once and never shut down, as the product does.
        static ULONG_PTR token = 0;
        if (!token) {
            Gdiplus::GdiplusStartupInput input;
            ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
        }
    }

    // Runs the frame; check runs once it is on screen, then the dialog ends with IDOK unless
    // check ends it itself (bEnds).
    static INT_PTR Run(CTestFrame& frame, const std::function<void(CTestFrame&)>& check,
                       bool bEnds = false)
    {
        bool ran = false;
        frame.onShown = [&](CTestFrame& f) {
            ran = true;
            check(f);
            if (!bEnds) f.EndDialog(IDOK);
        };
        INT_PTR result = frame.DoModal();
        EXPECT_TRUE(ran);
        return result;
    }
};

TEST_F(MyDialogExTest, BorderlessWindowOf702By502WithTheGreyLineAroundThePicture)
{
    CTestFrame frame;
    Run(frame, [](CTestFrame& f) {
        CRect client;
        f.GetClientRect(&client);
        EXPECT_EQ(CSize(702, 502), client.Size());
        EXPECT_EQ(CSize(702, 502), WindowRect(f).Size());
        EXPECT_EQ(0u, f.GetStyle() & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_BORDER | 0xFFFF));
        EXPECT_EQ(DWORD(WS_VISIBLE | WS_CLIPSIBLINGS | WS_SYSMENU),
                  f.GetStyle() & (WS_VISIBLE | WS_CLIPSIBLINGS | WS_SYSMENU));
        EXPECT_EQ(0u, f.GetExStyle());

        auto shot = Snapshot(f);
        int wrong = 0;
        for (int y = 0; y < 502; ++y) {
            for (int x = 0; x < 702; ++x) {
                if (kProgressRect.PtInRect(CPoint(x, y))) continue;
                bool line = x == 0 || y == 0 || x == 701 || y == 501;
                COLORREF expected = line ? kGrey : OpaquePixel(x - 1, y - 1);
                if (shot->At(x, y) != expected && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y
                                  << "): " << SameColor(expected, shot->At(x, y)).message();
            }
        }
        EXPECT_EQ(0, wrong);
    });
}

TEST_F(MyDialogExTest, APressOnTheBackgroundMovesTheWindowUnlessMaximised)
{
    CTestFrame frame;
    Run(frame, [](CTestFrame& f) {
        const CRect before = WindowRect(f);
        DragWithMouse(f, CPoint(300, 200), CSize(60, 40), true);
        const CRect after = WindowRect(f);
        EXPECT_EQ(before.TopLeft() + CSize(60, 40), after.TopLeft());
        EXPECT_EQ(before.Size(), after.Size());

        // Maximised: the same press does not move it.
        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        ASSERT_TRUE(f.IsMaximized());
        const CRect maximised = WindowRect(f);
        DragWithMouse(f, CPoint(300, 200), CSize(60, 40), false);
        EXPECT_EQ(maximised, WindowRect(f));

        // Restored: it moves again.
        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        ASSERT_FALSE(f.IsMaximized());
        EXPECT_EQ(after, WindowRect(f));
        DragWithMouse(f, CPoint(300, 200), CSize(-50, 30), true);
        EXPECT_EQ(after.TopLeft() + CSize(-50, 30), WindowRect(f).TopLeft());
    });
}

TEST_F(MyDialogExTest, WithoutABackgroundEveryUncoveredPixelIsGrey)
{
    CTestFrame frame;
    frame.background = 0;
    Run(frame, [](CTestFrame& f) {
        auto shot = Snapshot(f);
        EXPECT_EQ(0, NonGreyOutsideChildren(*shot));
        // The progress bar covers its own rectangle (its frame and its background).
        EXPECT_NE(kGrey, shot->At(kProgressRect.left + 5, kProgressRect.top + 5));
    });
}

TEST_F(MyDialogExTest, BackgroundsSwitchOnlyAfterARelease)
{
    CTestFrame frame;
    Run(frame, [](CTestFrame& f) {
        HINSTANCE module = ::GetModuleHandleA(nullptr);
        // A second load keeps the first picture.
        EXPECT_FALSE(f.LoadBackground(module, IDP_ALPHA));
        auto shot = Snapshot(f);
        EXPECT_EQ(OpaquePixel(50, 50), shot->At(51, 51));  // the alpha one is clear there

        // Released: grey until the next load, then the new picture.
        EXPECT_TRUE(f.Release());
        EXPECT_EQ(0, NonGreyOutsideChildren(*Snapshot(f)));
        EXPECT_TRUE(f.Release());
        EXPECT_FALSE(f.LoadBackground(module, IDP_MISSING));
        EXPECT_EQ(0, NonGreyOutsideChildren(*Snapshot(f)));
        EXPECT_TRUE(f.LoadBackground(module, IDP_ALPHA));
        shot = Snapshot(f);
        EXPECT_EQ(kGrey, shot->At(51, 51));                  // transparent: the grey shows
        EXPECT_EQ(OpaquePixel(250, 50), shot->At(251, 51));  // opaque band
    });
}

TEST_F(MyDialogExTest, DerivedDrawingOverThePictureIsShown)
{
    CTestFrame frame;
    frame.markBackground = true;
    Run(frame, [](CTestFrame& f) {
        auto shot = Snapshot(f);
        EXPECT_GT(f.backgroundDraws, 0);
        EXPECT_EQ(CSize(702, 502), f.backgroundSize);
        EXPECT_EQ(RGB(1, 2, 3), shot->At(300, 300));
        EXPECT_EQ(RGB(1, 2, 3), shot->At(309, 309));
        EXPECT_EQ(OpaquePixel(309, 309), shot->At(310, 310));
    });
}

TEST_F(MyDialogExTest, MaximiseTwiceRestoresTheExactRectangle)
{
    CTestFrame frame;
    frame.origin = CPoint(123, 77);
    Run(frame, [](CTestFrame& f) {
        CRect before = WindowRect(f);
        EXPECT_EQ(CPoint(123, 77), before.TopLeft());

        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        CRect workArea;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
        EXPECT_EQ(workArea, WindowRect(f));
        EXPECT_TRUE(f.IsMaximized());
        EXPECT_FALSE(f.IsZoomed());  // moved and sized only: the show state stays normal
        // The caption-button slots follow the new width.
        CRect slot;
        f.CaptionButton(1).GetWindowRect(&slot);
        f.ScreenToClient(&slot);
        EXPECT_EQ(CPoint(workArea.Width() - 2, 2), slot.TopLeft());

        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        EXPECT_EQ(before, WindowRect(f));
        EXPECT_FALSE(f.IsMaximized());

        // And again from another place.
        f.SetWindowPos(nullptr, 211, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        before = WindowRect(f);
        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        EXPECT_EQ(before, WindowRect(f));
    });
}

TEST_F(MyDialogExTest, DisabledMaximiseChangesNothingAndMinimiseStillWorks)
{
    CTestFrame frame;
    frame.maximizeDisabled = true;
    Run(frame, [](CTestFrame& f) {
        CRect before = WindowRect(f);
        f.SendMessage(WM_COMMAND, ID_FRAME_MAXIMIZE);
        EXPECT_EQ(before, WindowRect(f));
        EXPECT_FALSE(f.IsMaximized());

        f.SendMessage(WM_COMMAND, ID_FRAME_MINIMIZE);
        EXPECT_TRUE(f.IsIconic());
        f.ShowWindow(SW_RESTORE);
        EXPECT_FALSE(f.IsIconic());
        EXPECT_EQ(before, WindowRect(f));
    });
}

TEST_F(MyDialogExTest, CloseCommandEndsTheDialogThroughCancel)
{
    CTestFrame frame;
    EXPECT_EQ(IDCANCEL,
              Run(
                  frame, [](CTestFrame& f) { f.SendMessage(WM_COMMAND, IDCANCEL); }, true));
}

TEST_F(MyDialogExTest, CaptionButtonsAreLaidOutOnlyAfterInitialisation)
{
    CTestFrame frame;
    INT_PTR result = Run(
        frame,
        [](CTestFrame& f) {
            // The WM_SIZE sent while the last button was being made laid nothing out.
            EXPECT_TRUE(f.sizedBeforeInit);
            EXPECT_EQ(CPoint(0, 0), f.closeAfterEarlySize);

            // After it: zero-sized slots all sit at (cx - 2, 2).
            for (int k = 1; k <= 3; ++k) {
                CRect rc;
                f.CaptionButton(k).GetWindowRect(&rc);
                f.ScreenToClient(&rc);
                EXPECT_EQ(CRect(700, 2, 700, 2), rc) << "slot " << k;
            }

            // A derived frame that sizes them gets them side by side, spaced by the close
            // button's width, 2 pixels from the top and the right edge.
            for (int k = 1; k <= 3; ++k)
                f.CaptionButton(k).SetWindowPos(nullptr, 0, 0, 25, 24, SWP_NOMOVE | SWP_NOZORDER);
            f.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(702, 502));
            const int expectedLeft[] = {0, 675, 650, 625};
            for (int k = 1; k <= 3; ++k) {
                CRect rc;
                f.CaptionButton(k).GetWindowRect(&rc);
                f.ScreenToClient(&rc);
                EXPECT_EQ(CRect(expectedLeft[k], 2, expectedLeft[k] + 25, 26), rc) << "slot " << k;
            }

            // Visible slots send their commands: maximise, then close.
            f.CaptionButton(2).SendMessage(BM_CLICK);
            gui_test::PumpMessages(30);
            EXPECT_TRUE(f.IsMaximized());
            f.CaptionButton(1).SendMessage(BM_CLICK);
        },
        true);
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(MyDialogExTest, ResizableModeAnswersTheSizingBandsAndCorners)
{
    CTestFrame frame;
    frame.resizable = true;
    Run(frame, [](CTestFrame& f) {
        const CRect w = WindowRect(f);
        const int L = w.left, T = w.top, R = w.right, B = w.bottom;
        const int midX = L + 351, midY = T + 251;
        const struct {
            int x, y;
            LRESULT code;
        } cases[] = {
            {L, midY, HTLEFT},
            {L + 3, midY, HTLEFT},
            {L + 4, midY, HTCLIENT},
            {L, T + 7, HTLEFT},
            {L, B - 7, HTLEFT},
            {R - 1, midY, HTRIGHT},
            {R - 3, midY, HTRIGHT},
            {R - 4, midY, HTCLIENT},
            {R - 1, T + 7, HTRIGHT},
            {midX, T, HTTOP},
            {midX, T + 3, HTTOP},
            {midX, T + 4, HTCLIENT},
            {L + 7, T, HTTOP},
            {R - 7, T, HTTOP},
            {midX, B - 1, HTBOTTOM},
            {midX, B - 3, HTBOTTOM},
            {midX, B - 4, HTCLIENT},
            {L + 7, B - 1, HTBOTTOM},
            // The corner zones, 6 pixels, where no band claims the point.
            {L, T, HTTOPLEFT},
            {L, T + 6, HTTOPLEFT},
            {L + 6, T, HTTOPLEFT},
            {L + 4, T + 4, HTTOPLEFT},
            {L + 6, T + 6, HTTOPLEFT},
            {L + 7, T + 5, HTCLIENT},
            {R - 1, T, HTTOPRIGHT},
            {R - 6, T + 6, HTTOPRIGHT},
            {R - 5, T + 2, HTTOPRIGHT},
            {L, B - 1, HTBOTTOMLEFT},
            {L, B - 6, HTBOTTOMLEFT},
            {L + 6, B - 6, HTBOTTOMLEFT},
            {R - 1, B - 1, HTBOTTOMRIGHT},
            {R - 6, B - 6, HTBOTTOMRIGHT},
            {midX, midY, HTCLIENT},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(c.code, f.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)))
                << "(" << c.x - L << ", " << c.y - T << ") from the top-left corner";
        }

        // Not resizable: the bands are ordinary client area.
        f.SetResizable(false);
        EXPECT_EQ(HTCLIENT, f.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(L, midY)));
        EXPECT_EQ(HTCLIENT, f.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(R - 1, B - 1)));
    });
}

TEST_F(MyDialogExTest, ResizableModeStartsSizingAndMovingFromTheBands)
{
    CTestFrame frame;
    frame.resizable = true;
    frame.recordSysCommands = true;
    Run(frame, [](CTestFrame& f) {
        const struct {
            UINT hit;
            UINT command;
        } cases[] = {{HTLEFT, 0xF001},       {HTRIGHT, 0xF002},       {HTTOP, 0xF003},
                     {HTTOPLEFT, 0xF004},    {HTTOPRIGHT, 0xF005},    {HTBOTTOM, 0xF006},
                     {HTBOTTOMLEFT, 0xF007}, {HTBOTTOMRIGHT, 0xF008}, {HTCAPTION, 0xF014}};
        CRect w = WindowRect(f);
        for (const auto& c : cases) {
            f.sysCommands.clear();
            f.SendMessage(WM_NCLBUTTONDOWN, c.hit, MAKELPARAM(w.left + 1, w.top + 1));
            ASSERT_FALSE(f.sysCommands.empty()) << "hit-test code " << c.hit;
            EXPECT_EQ(c.command, f.sysCommands.front()) << "hit-test code " << c.hit;
        }
        // Not resizable: only the system's own handling runs.
        f.SetResizable(false);
        f.sysCommands.clear();
        f.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(w.left + 1, w.top + 1));
        for (UINT command : f.sysCommands) EXPECT_NE(0xF014u, command);
    });
}

TEST_F(MyDialogExTest, ResizablePaintingKeepsTheRightAndBottomBandsGrey)
{
    CTestFrame frame;
    frame.resizable = true;
    Run(frame, [](CTestFrame& f) {
        auto shot = Snapshot(f);
        // The picture from its (3, 3) at (1, 1), in an image of 693 x 493.
        EXPECT_EQ(kGrey, shot->At(0, 0));
        EXPECT_EQ(OpaquePixel(3, 3), shot->At(1, 1));
        EXPECT_EQ(OpaquePixel(3 + 690, 3 + 490), shot->At(691, 491));
        EXPECT_EQ(OpaquePixel(3 + 691, 3 + 249), shot->At(692, 250));
        EXPECT_EQ(kGrey, shot->At(693, 250));
        EXPECT_EQ(kGrey, shot->At(701, 250));
        EXPECT_EQ(kGrey, shot->At(350, 493));
        EXPECT_EQ(CSize(693, 493), f.backgroundSize);
    });
}

}  // namespace
