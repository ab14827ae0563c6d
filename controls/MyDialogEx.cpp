#include "controls/MyDialogEx.h"

#include <algorithm>

namespace {

const COLORREF kFrameGrey = RGB(150, 150, 150);

// The styles a skinned frame keeps: WS_VISIBLE, WS_CLIPSIBLINGS, WS_CLIPCHILDREN, WS_SYSMENU,
// WS_MINIMIZEBOX and WS_MAXIMIZEBOX. Popup, caption, border, thick frame and the dialog-style
// bits go.
const DWORD kKeptStyles = 0x160B0000;

// Sizing bands along the edges and the corner zones, in pixels from the window's edge.
const int kBand = 3;
const int kCorner = 6;

// The system commands that start sizing from each hit-test code, and moving from the caption.
UINT SizingCommand(UINT nHitTest)
{
    switch (nHitTest) {
        case HTLEFT:
            return SC_SIZE | WMSZ_LEFT;
        case HTRIGHT:
            return SC_SIZE | WMSZ_RIGHT;
        case HTTOP:
            return SC_SIZE | WMSZ_TOP;
        case HTTOPLEFT:
            return SC_SIZE | WMSZ_TOPLEFT;
        case HTTOPRIGHT:
            return SC_SIZE | WMSZ_TOPRIGHT;
        case HTBOTTOM:
            return SC_SIZE | WMSZ_BOTTOM;
        case HTBOTTOMLEFT:
            return SC_SIZE | WMSZ_BOTTOMLEFT;
        case HTBOTTOMRIGHT:
            return SC_SIZE | WMSZ_BOTTOMRIGHT;
        case HTCAPTION:
            return SC_MOVE | 4;
        default:
            return 0;
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CMyDialogEx, CDialog)

BEGIN_MESSAGE_MAP(CMyDialogEx, CDialog)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CMyDialogEx::CMyDialogEx(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_bInitialized(false), m_bMaximized(false), m_bResizable(true)
{
}

// The members go in reverse order: the caption buttons (destroying their windows if they
// still exist), then the background image.
CMyDialogEx::~CMyDialogEx() = default;

void CMyDialogEx::SetResizable(bool bResizable) { m_bResizable = bResizable; }

bool CMyDialogEx::LoadBackground(HINSTANCE hInstance, UINT nResourceId)
{
    return m_imgBackground.LoadFromResource(hInstance, nResourceId);
}

bool CMyDialogEx::ReleaseBackground()
{
    // Unload of an empty holder does nothing, so it needs no IsNull first; an IsNull that
    // reported a pending GDI+ error would otherwise leave the object held and make the next
    // LoadBackground fail.
    return m_imgBackground.Unload();
}

void CMyDialogEx::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CMyDialogEx::OnInitDialog()
{
    CDialog::OnInitDialog();

    // Borderless. The size change below makes the system recompute the (now empty) frame.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() & kKeptStyles));
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, 0);

    // The caption-button slots: no caption, no image, no size (see the class comment).
    const CRect none(0, 0, 0, 0);
    m_btnClose.Create(nullptr, WS_CHILD | WS_VISIBLE, none, this, IDCANCEL);
    m_btnMaximize.Create(nullptr, WS_CHILD | WS_VISIBLE, none, this, ID_FRAME_MAXIMIZE);
    m_btnMinimize.Create(nullptr, WS_CHILD | WS_VISIBLE, none, this, ID_FRAME_MINIMIZE);

    m_bInitialized = true;
    // Fixed device pixels, whatever the template's size and the screen's DPI. WM_SIZE lays
    // out the caption buttons at once.
    SetWindowPos(nullptr, 0, 0, kFrameWidth, kFrameHeight, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

void CMyDialogEx::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    // Before OnInitDialog has made the caption buttons there is nothing to lay out.
    if (!m_bInitialized) return;

    LockWindowUpdate();
    if (HDWP hdwp = ::BeginDeferWindowPos(32)) {
        CRect rcClose;
        m_btnClose.GetWindowRect(&rcClose);
        const int w = rcClose.Width();
        // Right-aligned side by side, 2 pixels from the top and the right edge, all spaced by
        // the close button's width.
        const struct {
            CWnd* pButton;
            int k;
        } slots[] = {{&m_btnClose, 1}, {&m_btnMaximize, 2}, {&m_btnMinimize, 3}};
        for (const auto& slot : slots) {
            if (!hdwp || !slot.pButton->m_hWnd) continue;  // a failed batch is already freed
            hdwp = ::DeferWindowPos(hdwp, slot.pButton->m_hWnd, nullptr, cx - slot.k * w - 2, 2, 0,
                                    0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        }
        if (hdwp) ::EndDeferWindowPos(hdwp);
    }
    Invalidate(FALSE);
    UpdateWindow();
    UnlockWindowUpdate();
}

void CMyDialogEx::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    if (width <= 0 || height <= 0) return;  // minimised: nothing to compose

    // Composed off-screen and shown with one copy, so repaints never flicker.
    CMemDC canvas(dc, this);
    CDC& memDC = canvas.GetDC();
    memDC.FillSolidRect(&client, kFrameGrey);

    // The background is blended over grey in a 32-bit image. In the resizable mode the image
    // leaves the right and bottom sizing bands grey and shows the picture from (3, 3) on.
    CRect rcImage(0, 0, width, height);
    int sourceOrigin = 0;
    if (m_bResizable) {
        rcImage.DeflateRect(kBand, kBand, kCorner, kCorner);
        sourceOrigin = kBand;
    }
    CImage image;
    if (image.Create(rcImage.Width(), rcImage.Height(), 32, 0)) {
        CImageDC imageDC(image);
        CDC* pImageDC = CDC::FromHandle(imageDC);
        if (pImageDC) {
            const int cx = rcImage.Width();
            const int cy = rcImage.Height();
            const CRect rcAll(0, 0, cx, cy);
            pImageDC->FillSolidRect(&rcAll, kFrameGrey);
            // Unscaled, the picture's top-left pixel (from the source origin) at (1, 1). The
            // source is cut to the picture's own size: beyond it there is nothing to draw,
            // and GDI+ (Wine's) is many times slower with a source that reaches past it. An
            // empty holder draws nothing.
            const CSize picture = m_imgBackground.GetSize();
            const int drawWidth = std::min<int>(cx, picture.cx - sourceOrigin);
            const int drawHeight = std::min<int>(cy, picture.cy - sourceOrigin);
            if (drawWidth > 0 && drawHeight > 0)
                m_imgBackground.Draw(pImageDC, 1, 1, drawWidth, drawHeight, sourceOrigin,
                                     sourceOrigin, drawWidth, drawHeight);
            OnDrawBackground(pImageDC, cx, cy);
            memDC.BitBlt(0, 0, cx, cy, pImageDC, 0, 0, SRCCOPY);
        }
    }
}

void CMyDialogEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bMaximized) {
        CDialog::OnLButtonDown(nFlags, point);
        return;
    }
    // A press on the background counts as a press on a caption: the system's move loop
    // follows the mouse. The message carries screen coordinates, as the system's own does.
    ClientToScreen(&point);
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

BOOL CMyDialogEx::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
        case ID_FRAME_MAXIMIZE:
            if (IsMaximizeDisabled()) break;
            if (m_bMaximized) {
                MoveWindow(&m_rcRestore, TRUE);
                m_bMaximized = false;
            } else {
                GetWindowRect(&m_rcRestore);
                CRect workArea;
                ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
                // Moved and sized only: the show state stays normal.
                MoveWindow(&workArea, TRUE);
                m_bMaximized = true;
            }
            break;
        case ID_FRAME_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            break;
        default:
            break;
    }
    // Every command, these two included, goes on (IDCANCEL reaches the dialog's cancel).
    return CWnd::OnCommand(wParam, lParam);
}

bool CMyDialogEx::IsMaximizeDisabled() { return false; }

void CMyDialogEx::OnDrawBackground(CDC*, int, int) {}

LRESULT CMyDialogEx::OnNcHitTest(CPoint point)
{
    if (!m_bResizable) return CDialog::OnNcHitTest(point);

    CRect rc;
    GetWindowRect(&rc);
    const int x = point.x;
    const int y = point.y;
    // The edge bands run between the corner zones; edges are tested first, so a corner zone
    // answers only where no band claims the point.
    const bool belowTopCorner = y > rc.top + kCorner && y < rc.bottom - kCorner;
    const bool rightOfLeftCorner = x > rc.left + kCorner && x < rc.right - kCorner;
    if (x <= rc.left + kBand && belowTopCorner) return HTLEFT;
    if (x >= rc.right - kBand && belowTopCorner) return HTRIGHT;
    if (y <= rc.top + kBand && rightOfLeftCorner) return HTTOP;
    if (y >= rc.bottom - kBand && rightOfLeftCorner) return HTBOTTOM;
    if (x <= rc.left + kCorner && y <= rc.top + kCorner) return HTTOPLEFT;
    if (x >= rc.right - kCorner && y <= rc.top + kCorner) return HTTOPRIGHT;
    if (x <= rc.left + kCorner && y >= rc.bottom - kCorner) return HTBOTTOMLEFT;
    if (x >= rc.right - kCorner && y >= rc.bottom - kCorner) return HTBOTTOMRIGHT;
    return CDialog::OnNcHitTest(point);
}

void CMyDialogEx::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (m_bResizable) {
        if (UINT command = SizingCommand(nHitTest))
            SendMessage(WM_SYSCOMMAND, command, MAKELPARAM(point.x, point.y));
    }
    CDialog::OnNcLButtonDown(nHitTest, point);
}

BOOL CMyDialogEx::OnEraseBkgnd(CDC* pDC) { return CDialog::OnEraseBkgnd(pDC); }
