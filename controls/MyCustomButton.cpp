#include "controls/MyCustomButton.h"

BEGIN_MESSAGE_MAP(CMyCustomButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CMyCustomButton::OnMouseLeave)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

// The results of TrackMouseEvent and of the GDI calls are not looked at: a failure only leaves
// the look of the moment, which the next paint corrects.

void CMyCustomButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        // Only the first move over the button repaints; the leave notification ends the hover.
        m_bHover = TRUE;
        Invalidate(TRUE);
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 0;
        ::TrackMouseEvent(&track);
    }
    CButton::OnMouseMove(nFlags, point);
}

LRESULT CMyCustomButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHover = FALSE;
    Invalidate(TRUE);
    return 0;
}

void CMyCustomButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    Invalidate(TRUE);
    CButton::OnLButtonDown(nFlags, point);  // the button's own click handling stays
}

void CMyCustomButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    Invalidate(TRUE);
    CButton::OnLButtonUp(nFlags, point);
}

void CMyCustomButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);

    pDC->FillSolidRect(&rect, m_bHover ? m_clrBkHover : m_clrBk);

    CPen pen(PS_SOLID, 1, m_clrBorder);
    CPen* pOldPen = pDC->SelectObject(&pen);
    // The null brush outlines the rectangle and keeps the fill; it stays selected afterwards.
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&rect);

    CString text;
    GetWindowText(text);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_bHover ? kTextHoverColor : m_clrText);
    pDC->DrawText(text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    pDC->SelectObject(pOldPen);
}
