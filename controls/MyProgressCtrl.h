// CMyProgressCtrl: the installer's progress bar. The standard progress control keeps the range
// and the position; this class only paints them: a flat background and, over the filled part,
// a horizontal gradient from the bar colour to 80 % of its brightness.
//
// Use: attach the object to the control (DDX_Control or SubclassWindow), then SetColors and
// SetBorder, SetRange, and move the position with SetPos. Painting is double-buffered and
// never erases, so a bar moved many times a second does not flicker.
#pragma once

#include <windows.h>

#include "framework/Afx.h"

class CMyProgressCtrl : public CProgressCtrl {
    DECLARE_DYNAMIC(CMyProgressCtrl)
public:
    CMyProgressCtrl();
    ~CMyProgressCtrl() override;

    // Bar colour (left end of the gradient), background colour and a third colour that is
    // kept but not drawn. Repaints the whole control; the window must exist.
    void SetColors(COLORREF bar, COLORREF background, COLORREF extra);
    // Border flag and colour; kept, not drawn (a frame, when the control has WS_BORDER, is the
    // system's). Repaints the whole control; the window must exist.
    void SetBorder(BOOL show, COLORREF colour);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    COLORREF m_crBar;         // gradient's left end
    COLORREF m_crBackground;  // the whole client area under the bar
    COLORREF m_crExtra;       // given to SetColors; not drawn
    COLORREF m_crBorder;      // given to SetBorder; not drawn
    BOOL m_bBorder;           // given to SetBorder; not drawn

    DECLARE_MESSAGE_MAP()
};
