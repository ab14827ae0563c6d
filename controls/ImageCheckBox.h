// CImageCheckBox: an owner-drawn button that behaves as a check box drawn from two bitmaps
// (checked and unchecked), with its window text beside the box.
//
// The check state is its own flag, not the button's (an owner-drawn button keeps none, so
// SetCheck and GetCheck play no part). Every left-button release that reaches the control
// toggles the flag and sends the parent WM_COMMAND with wParam 2046 (kCommandId, notification
// BN_CLICKED) and the control's window in lParam; the parent reads the new state with
// IsChecked(). Keyboard activation toggles nothing.
//
// Use: subclass the button (SubclassDlgItem), LoadBitmaps(unchecked, checked), then the owner
// adds BS_OWNERDRAW, sets the font the text is drawn in, and places it. A new box is checked.
#pragma once

#include "framework/Afx.h"

class CImageCheckBox : public CButton {
public:
    // The command id of every toggle; fixed, not the control's own id.
    static constexpr UINT kCommandId = 2046;

    CImageCheckBox() = default;
    ~CImageCheckBox() override = default;  // the CBitmap members delete both bitmaps

    // Loads the unchecked and then the checked box from the bitmap resources of
    // AfxGetResourceHandle(); both loads are attempted, the result is the second one's. A
    // second call replaces the bitmaps. The window style is left alone.
    BOOL LoadBitmaps(UINT nUnchecked, UINT nChecked);
    bool IsChecked() const { return m_bChecked != FALSE; }

    // Draws into the item DC directly, in the font selected there (the button's font).
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    CBitmap m_bmpUnchecked;     // box while unchecked
    CBitmap m_bmpChecked;       // box while checked
    CSize m_sizeImage{24, 24};  // the box is drawn in this size at the left edge
    BOOL m_bChecked = TRUE;     // the check state; a new box starts checked

    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
