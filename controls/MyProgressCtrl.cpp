#include "controls/MyProgressCtrl.h"

IMPLEMENT_DYNAMIC(CMyProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(CMyProgressCtrl, CProgressCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CMyProgressCtrl::CMyProgressCtrl()
    : m_crBar(RGB(0, 120, 215)),
      m_crBackground(RGB(240, 240, 240)),
      m_crExtra(RGB(0, 0, 0)),
      m_crBorder(RGB(150, 150, 150)),
      m_bBorder(TRUE)
{
}

CMyProgressCtrl::~CMyProgressCtrl() = default;

void CMyProgressCtrl::SetColors(COLORREF bar, COLORREF background, COLORREF extra)
{
    m_crBar = bar;
    m_crBackground = background;
    m_crExtra = extra;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMyProgressCtrl::SetBorder(BOOL show, COLORREF colour)
{
    m_bBorder = show;
    m_crBorder = colour;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

namespace {

// The filled width for a client width and the control's range and position: the width times
// the position's share of the range, truncated toward zero. 0 for an empty range; never less
// than 0 nor more than the client width.
int FilledWidth(int nClientWidth, int nLower, int nUpper, int nPos)
{
    // An empty range has no share to show. The product is taken in 64 bits so that a wide
    // 32-bit range (PBM_SETRANGE32) cannot overflow it.
    if (nUpper == nLower || nClientWidth <= 0) return 0;
    long long width = static_cast<long long>(nClientWidth) *
                      (static_cast<long long>(nPos) - nLower) /
                      (static_cast<long long>(nUpper) - nLower);
    if (width < 0) return 0;
    if (width > nClientWidth) return nClientWidth;
    return static_cast<int>(width);
}

// A gradient end: each 8-bit channel c of the colour becomes the 16-bit vertex channel
// trunc(c * fScale * 256), in double precision (fScale 1 gives c << 8 exactly).
TRIVERTEX GradientVertex(LONG x, LONG y, COLORREF colour, double fScale)
{
    auto channel = [fScale](BYTE c) { return static_cast<COLOR16>(c * fScale * 256); };
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = channel(GetRValue(colour));
    vertex.Green = channel(GetGValue(colour));
    vertex.Blue = channel(GetBValue(colour));
    vertex.Alpha = 0;
    return vertex;
}

}  // namespace

void CMyProgressCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();

    // The whole picture is built off-screen and shown with one copy.
    CMemDC canvas(dc, this);
    CDC& memDC = canvas.GetDC();
    memDC.FillSolidRect(&client, m_crBackground);

    int lower = 0, upper = 0;
    GetRange(lower, upper);
    const int filled = FilledWidth(width, lower, upper, GetPos());
    if (filled > 0) {
        TRIVERTEX vertices[2] = {GradientVertex(client.left, client.top, m_crBar, 1.0),
                                 GradientVertex(client.left + filled, client.bottom, m_crBar, 0.8)};
        GRADIENT_RECT mesh{0, 1};
        // gdi32's own entry; msimg32's GradientFill only forwards to it.
        ::GdiGradientFill(memDC, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
    }
}

BOOL CMyProgressCtrl::OnEraseBkgnd(CDC*)
{
    // The paint covers every pixel; erasing first would only flicker.
    return TRUE;
}
