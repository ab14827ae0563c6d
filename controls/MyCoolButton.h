// CMyCoolButton: an owner-drawn push button whose whole face is one of four bitmaps from the
// executable's resources: normal, hover, pressed and disabled. It draws no text, no focus
// rectangle and no default frame; clicks reach the parent as BN_CLICKED as usual.
//
// Use: give the button a window (DDX_Control, SubclassWindow or Create), call LoadBitmaps once
// (it makes the button owner-drawn when every requested bitmap loaded), size and place it.
// SetEnabled switches the logical enabled state and the window's together. The button tracks
// the mouse itself (TrackMouseEvent) to show the hover face while the pointer is over it.
#pragma once

#include <windows.h>

#include "framework/Afx.h"

class CMyCoolButton : public CButton {
public:
    CMyCoolButton();
    ~CMyCoolButton() override;

    // Loads the faces from AfxGetResourceHandle() in the order normal, hover, pressed,
    // disabled; an id of 0 skips that face. Stops at the first bitmap that does not load;
    // only when all requested ones loaded is BS_OWNERDRAW added to the window's style. Faces
    // loaded by an earlier call are replaced.
    void LoadBitmaps(UINT nNormal, UINT nHover, UINT nPressed, UINT nDisabled);
    // Stores the logical enabled state, enables or disables the window, repaints.
    void SetEnabled(BOOL bEnable);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

    CBitmap m_bmpNormal;    // required face
    CBitmap m_bmpHover;     // while the pointer is over the button; optional
    CBitmap m_bmpPressed;   // while pushed (ODS_SELECTED); optional
    CBitmap m_bmpDisabled;  // while disabled; optional (else the normal face, embossed)
    BOOL m_bHover;          // the pointer is over the button and a leave notice is armed
    BOOL m_bEnabled;        // logical state; FALSE shows the disabled face

    DECLARE_MESSAGE_MAP()
};
