#include "framework/AfxEditBrowse.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/AfxApp.h"

namespace {

const char kClassName[] = "MfcEditBrowse";
// The browse mode an initialisation record gave a field that has no object yet.
const char kModeProperty[] = "AfxEditBrowseMode";
// Hit-test code of the button: one the system leaves to the window.
const LRESULT kHitButton = HTOBJECT;

WNDPROC g_pfnEditProc = nullptr;

LRESULT CALLBACK EditBrowseClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == AFX_WM_INITCTRL) {
        auto mode = CMFCEditBrowseCtrl::ParseInitData(reinterpret_cast<const char*>(lParam),
                                                      static_cast<size_t>(wParam));
        ::SetPropA(hWnd, kModeProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(mode)));
        return 0;
    }
    if (message == WM_NCDESTROY) ::RemovePropA(hWnd, kModeProperty);
    return ::CallWindowProcA(g_pfnEditProc, hWnd, message, wParam, lParam);
}

}  // namespace

BOOL AfxRegisterEditBrowseClass()
{
    static const BOOL registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        if (!::GetClassInfoExA(nullptr, "Edit", &wc)) return FALSE;
        g_pfnEditProc = wc.lpfnWndProc;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &EditBrowseClassProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        // Global: templates in any module of the process can name it.
        wc.style |= CS_GLOBALCLASS;
        return ::RegisterClassExA(&wc) != 0 ? TRUE : FALSE;
    }();
    return registered;
}

IMPLEMENT_DYNAMIC(CMFCEditBrowseCtrl, CEdit)

BEGIN_MESSAGE_MAP(CMFCEditBrowseCtrl, CEdit)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCMOUSELEAVE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(AFX_WM_INITCTRL, &CMFCEditBrowseCtrl::OnInitControl)
END_MESSAGE_MAP()

CMFCEditBrowseCtrl::BrowseMode CMFCEditBrowseCtrl::ParseInitData(const char* data, size_t length)
{
    static const char open[] = "<MFCEditBrowse_Mode>";
    static const char close[] = "</MFCEditBrowse_Mode>";
    if (!data) return BrowseMode_None;
    std::string text(data, strnlen(data, length));
    size_t start = text.find(open);
    if (start == std::string::npos) return BrowseMode_None;
    start += sizeof open - 1;
    size_t end = text.find(close, start);
    if (end == std::string::npos) return BrowseMode_None;
    return text.substr(start, end - start) == "2" ? BrowseMode_Folder : BrowseMode_None;
}

void CMFCEditBrowseCtrl::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    auto mode = static_cast<BrowseMode>(
        reinterpret_cast<INT_PTR>(::GetPropA(m_hWnd, kModeProperty)));
    if (mode == BrowseMode_Folder) EnableFolderBrowseButton();
}

void CMFCEditBrowseCtrl::SetMode(BrowseMode mode)
{
    m_mode = mode;
    m_bButtonHot = m_bButtonPressed = FALSE;
    if (m_mode == BrowseMode_None) m_rectButton.SetRectEmpty();
    // Recomputes the non-client area, where the button lives.
    if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMFCEditBrowseCtrl::EnableBrowseButton(BOOL bEnable, LPCSTR szButtonText)
{
    m_strButtonText = szButtonText ? szButtonText : "...";
    SetMode(bEnable ? BrowseMode_Default : BrowseMode_None);
}

void CMFCEditBrowseCtrl::EnableFolderBrowseButton(LPCSTR szTitle, UINT ulFlags)
{
    m_strBrowseFolderTitle = szTitle;
    m_ulBrowseFolderFlags = ulFlags;
    SetMode(BrowseMode_Folder);
}

void CMFCEditBrowseCtrl::OnBrowse()
{
    if (m_mode != BrowseMode_Folder) return;
    CString current, folder;
    GetWindowText(current);
    HWND hOwner = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!AfxBrowseForFolder(folder, hOwner, current,
                            m_strBrowseFolderTitle.IsEmpty() ? nullptr
                                                             : m_strBrowseFolderTitle.GetString(),
                            m_ulBrowseFolderFlags))
        return;
    SetWindowText(folder);
    SetModify(TRUE);
    OnAfterUpdate();
}

void CMFCEditBrowseCtrl::OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL bIsButtonPressed,
                                            BOOL bIsButtonHot)
{
    UINT state = DFCS_BUTTONPUSH | (bIsButtonPressed ? DFCS_PUSHED : 0) |
                 (bIsButtonHot ? DFCS_HOT : 0);
    ::DrawFrameControl(pDC->m_hDC, &rect, DFC_BUTTON, state);
    CAutoSelect font(pDC->m_hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldColor = pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    if (bIsButtonPressed) rect.OffsetRect(1, 1);
    pDC->DrawText(m_strButtonText, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(oldMode);
}

void CMFCEditBrowseCtrl::RedrawButton()
{
    if (m_mode == BrowseMode_None || m_rectButton.IsRectEmpty()) return;
    CWindowDC dc(this);
    OnDrawBrowseButton(&dc, m_rectButton, m_bButtonPressed, m_bButtonHot);
}

BOOL CMFCEditBrowseCtrl::IsOverButton(CPoint screenPoint) const
{
    if (m_mode == BrowseMode_None) return FALSE;
    CRect window;
    GetWindowRect(&window);
    return m_rectButton.PtInRect(CPoint(screenPoint.x - window.left, screenPoint.y - window.top));
}

void CMFCEditBrowseCtrl::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    // On entry rgrc[0] is the window rectangle, afterwards the client rectangle, both in the
    // parent's coordinates (the same first RECT when bCalcValidRects is FALSE).
    const CRect window(lpncsp->rgrc[0]);
    CEdit::OnNcCalcSize(bCalcValidRects, lpncsp);
    if (m_mode == BrowseMode_None) {
        m_rectButton.SetRectEmpty();
        return;
    }
    RECT& client = lpncsp->rgrc[0];
    // A square as high as the text area, never wider than the field.
    int width = std::min<int>(std::max<int>(client.bottom - client.top, 12),
                              std::max<int>(client.right - client.left, 0));
    m_rectButton.SetRect(client.right - width, client.top, client.right, client.bottom);
    m_rectButton.OffsetRect(-window.left, -window.top);
    client.right -= width;
}

void CMFCEditBrowseCtrl::OnNcPaint()
{
    CEdit::OnNcPaint();
    RedrawButton();
}

LRESULT CMFCEditBrowseCtrl::OnNcHitTest(CPoint point)
{
    if (IsOverButton(point)) return kHitButton;
    return CEdit::OnNcHitTest(point);
}

void CMFCEditBrowseCtrl::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (static_cast<LRESULT>(nHitTest) != kHitButton || m_mode == BrowseMode_None) {
        CEdit::OnNcLButtonDown(nHitTest, point);
        return;
    }
    m_bButtonPressed = m_bButtonCaptured = TRUE;
    ::SetCapture(m_hWnd);
    RedrawButton();
}

void CMFCEditBrowseCtrl::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (static_cast<LRESULT>(nHitTest) != kHitButton || m_mode == BrowseMode_None) {
        CEdit::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    OnNcLButtonDown(nHitTest, point);
}

void CMFCEditBrowseCtrl::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    BOOL hot = static_cast<LRESULT>(nHitTest) == kHitButton && m_mode != BrowseMode_None;
    if (hot != m_bButtonHot) {
        m_bButtonHot = hot;
        if (hot) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
        RedrawButton();
    }
    CEdit::OnNcMouseMove(nHitTest, point);
}

void CMFCEditBrowseCtrl::OnNcMouseLeave()
{
    if (m_bButtonHot) {
        m_bButtonHot = FALSE;
        RedrawButton();
    }
    CEdit::OnNcMouseLeave();
}

void CMFCEditBrowseCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bButtonCaptured) {
        CEdit::OnMouseMove(nFlags, point);
        return;
    }
    ClientToScreen(&point);
    BOOL pressed = IsOverButton(point);
    if (pressed != m_bButtonPressed) {
        m_bButtonPressed = pressed;
        RedrawButton();
    }
}

void CMFCEditBrowseCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bButtonCaptured) {
        CEdit::OnLButtonUp(nFlags, point);
        return;
    }
    ClientToScreen(&point);
    BOOL released = IsOverButton(point);
    m_bButtonCaptured = m_bButtonPressed = FALSE;
    ::ReleaseCapture();
    RedrawButton();
    if (released) OnBrowse();
}

void CMFCEditBrowseCtrl::OnCaptureChanged(CWnd* pWnd)
{
    if (m_bButtonCaptured) {
        m_bButtonCaptured = m_bButtonPressed = FALSE;
        RedrawButton();
    }
    CEdit::OnCaptureChanged(pWnd);
}

LRESULT CMFCEditBrowseCtrl::OnInitControl(WPARAM wParam, LPARAM lParam)
{
    BrowseMode mode =
        ParseInitData(reinterpret_cast<const char*>(lParam), static_cast<size_t>(wParam));
    if (mode == BrowseMode_Folder)
        EnableFolderBrowseButton();
    else
        SetMode(BrowseMode_None);
    return 0;
}
