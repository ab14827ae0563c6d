#include "controls/MyCoolButton.h"

BEGIN_MESSAGE_MAP(CMyCoolButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CMyCoolButton::OnMouseLeave)
END_MESSAGE_MAP()

CMyCoolButton::CMyCoolButton() : m_bHover(FALSE), m_bEnabled(TRUE) {}

// The four CBitmap members delete their bitmaps.
CMyCoolButton::~CMyCoolButton() = default;

void CMyCoolButton::LoadBitmaps(UINT nNormal, UINT nHover, UINT nPressed, UINT nDisabled)
{
    const struct {
        CBitmap* pBitmap;
        UINT nId;
    } faces[] = {{&m_bmpNormal, nNormal},
                 {&m_bmpHover, nHover},
                 {&m_bmpPressed, nPressed},
                 {&m_bmpDisabled, nDisabled}};
    for (const auto& face : faces) face.pBitmap->DeleteObject();
    for (const auto& face : faces) {
        if (face.nId != 0 && !face.pBitmap->LoadBitmap(face.nId)) return;
    }
    ModifyStyle(0, BS_OWNERDRAW, 0);
}

void CMyCoolButton::SetEnabled(BOOL bEnable)
{
    m_bEnabled = bEnable;
    EnableWindow(bEnable);
    Invalidate(TRUE);
}

void CMyCoolButton::OnMouseMove(UINT nFlags, CPoint point)
{
    // Only the entry repaints and arms the leave notice; the system disarms it when it fires.
    if (!m_bHover) {
        m_bHover = TRUE;
        Invalidate(TRUE);
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
    CButton::OnMouseMove(nFlags, point);  // the button's own handling stays intact
}

LRESULT CMyCoolButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHover = FALSE;
    Invalidate(TRUE);
    return 0;
}

void CMyCoolButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rcItem(lpDIS->rcItem);
    const int width = rcItem.Width();
    const int height = rcItem.Height();

    // The face is composed off-screen and shown with one copy, so that the erase of every
    // state change does not flicker.
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(pDC, width, height);
    HGDIOBJ hOldCanvas = ::SelectObject(memDC, canvas);

    const bool disabled = (lpDIS->itemState & ODS_DISABLED) || !m_bEnabled;
    CBitmap* pFace = &m_bmpNormal;
    if (disabled) {
        if (m_bmpDisabled.m_hObject) pFace = &m_bmpDisabled;
    } else if ((lpDIS->itemState & ODS_SELECTED) && m_bmpPressed.m_hObject) {
        pFace = &m_bmpPressed;
    } else if (m_bHover && m_bmpHover.m_hObject) {
        pFace = &m_bmpHover;
    }

    const CRect rcCanvas(0, 0, width, height);
    memDC.FillSolidRect(&rcCanvas, ::GetSysColor(COLOR_BTNFACE));

    // Without any bitmap (the normal one never loaded) the face colour alone is shown.
    if (pFace->m_hObject) {
        CDC faceDC;
        faceDC.CreateCompatibleDC(&memDC);
        HGDIOBJ hOldFace = ::SelectObject(faceDC, *pFace);
        BITMAP info{};
        pFace->GetBitmap(&info);
        // Truncated toward zero: a bitmap larger than the button is cut evenly on both sides.
        const int x = (width - info.bmWidth) / 2;
        const int y = (height - info.bmHeight) / 2;
        if (disabled && !m_bmpDisabled.m_hObject) {
            ::SelectObject(faceDC, hOldFace);  // DrawState reads the bitmap itself
            hOldFace = nullptr;
            memDC.DrawState(CPoint(x, y), CSize(info.bmWidth, info.bmHeight), *pFace, DSS_DISABLED);
        } else {
            memDC.BitBlt(x, y, info.bmWidth, info.bmHeight, &faceDC, 0, 0, SRCCOPY);
        }
        if (hOldFace) ::SelectObject(faceDC, hOldFace);
    }

    pDC->BitBlt(rcItem.left, rcItem.top, width, height, &memDC, 0, 0, SRCCOPY);
    ::SelectObject(memDC, hOldCanvas);
}
