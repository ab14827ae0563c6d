// CMyCustomButton: an owner-drawn button that looks like a flat text link. It fills its
// rectangle with one colour, outlines it with a 1-pixel border and centres its window text on
// one line; the text turns blue while the pointer is over the button. Pressed, disabled and
// focused buttons look exactly like normal ones.
//
// Use: attach it to a button (DDX_Control or Create), then the owner adds BS_OWNERDRAW (the
// installer adds BS_FLAT | BS_OWNERDRAW), sets the font the text is drawn in, and places it.
// Clicks reach the owner as ordinary BN_CLICKED commands.
#pragma once

#include "framework/Afx.h"

class CMyCustomButton : public CButton {
public:
    CMyCustomButton() = default;
    ~CMyCustomButton() override = default;

    // Draws into the item DC directly, in the font selected there (the button's font).
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    // The text colour while the pointer is over the button.
    static constexpr COLORREF kTextHoverColor = RGB(76, 157, 254);

    // There are no setters: with these defaults the border has the background's colour and
    // does not show.
    COLORREF m_clrText = RGB(81, 81, 81);        // text while not hovered
    COLORREF m_clrBk = RGB(230, 246, 255);       // background while not hovered
    COLORREF m_clrBkHover = RGB(230, 246, 255);  // background while hovered
    COLORREF m_clrBorder = RGB(230, 246, 255);   // the 1-pixel border
    BOOL m_bHover = FALSE;  // the pointer is over the button and a leave notification is armed

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
