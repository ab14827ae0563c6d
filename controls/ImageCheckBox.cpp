#include "controls/ImageCheckBox.h"

namespace {

const COLORREF kPanel = RGB(230, 246, 255);  // the background the box sits on
const COLORREF kTextColor = RGB(121, 121, 121);
const int kTextGap = 4;  // between the box and the text

}  // namespace

BEGIN_MESSAGE_MAP(CImageCheckBox, CButton)
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL CImageCheckBox::LoadBitmaps(UINT nUnchecked, UINT nChecked)
{
    m_bmpUnchecked.DeleteObject();
    m_bmpChecked.DeleteObject();
    m_bmpUnchecked.LoadBitmap(nUnchecked);  // its result is not reported; the owner ignores both
    return m_bmpChecked.LoadBitmap(nChecked);
}

void CImageCheckBox::OnLButtonUp(UINT nFlags, CPoint point)
{
    // Any release that reaches the control toggles it, also one outside it after a press
    // inside (the button holds the capture from the press).
    m_bChecked = m_bChecked ? FALSE : TRUE;
    Invalidate(TRUE);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(kCommandId, BN_CLICKED),
                             reinterpret_cast<LPARAM>(m_hWnd));
    // The button's own handling: it releases the capture and, for a release inside, sends its
    // own BN_CLICKED with the control's id.
    CButton::OnLButtonUp(nFlags, point);
}

void CImageCheckBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);

    pDC->FillSolidRect(&rect, kPanel);

    // A bitmap that did not load is not drawn: its place keeps the background.
    CBitmap& box = m_bChecked ? m_bmpChecked : m_bmpUnchecked;
    if (box.GetSafeHandle()) {
        CDC memDC;
        if (memDC.CreateCompatibleDC(pDC)) {
            CBitmap* pOld = memDC.SelectObject(&box);
            pDC->BitBlt(rect.left, rect.top + (rect.Height() - m_sizeImage.cy) / 2, m_sizeImage.cx,
                        m_sizeImage.cy, &memDC, 0, 0, SRCCOPY);
            memDC.SelectObject(pOld);
        }
    }

    CString text;
    GetWindowText(text);
    if (text.IsEmpty()) return;

    // Raised by 2 pixels: the line sits 1 pixel above the control's vertical centre.
    CRect textRect(rect.left + m_sizeImage.cx + kTextGap, rect.top - 2, rect.right, rect.bottom);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor((lpDIS->itemState & ODS_DISABLED) ? ::GetSysColor(COLOR_GRAYTEXT)
                                                        : kTextColor);
    pDC->DrawText(text, &textRect, DT_VCENTER | DT_SINGLELINE);
}
