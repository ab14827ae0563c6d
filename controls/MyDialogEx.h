// CMyDialogEx: the skinned dialog frame. It turns a resource dialog into a borderless window
// of 702 x 502 pixels whose client area is a PNG from the resources drawn at (1, 1) inside a
// 1-pixel grey line. The window moves when the user drags its background; it has three
// caption-button slots (close, maximise, minimise) kept at the top-right corner, its own
// maximise/restore (onto the work area) and minimise commands, and an optional resizable mode
// with 3-pixel sizing bands along the edges.
//
// Use: derive the dialog from it; its OnInitDialog calls CMyDialogEx::OnInitDialog() first
// (borderless style, caption buttons, the fixed size), then LoadBackground and, for a window
// that must not be resized, SetResizable(false). To switch backgrounds: ReleaseBackground(),
// LoadBackground(AfxGetResourceHandle(), id), Invalidate(TRUE), UpdateWindow(). A derived
// WM_PAINT handler calls CMyDialogEx::OnPaint() to draw the frame.
//
// The frame owns the background image and the caption buttons. The buttons are made without
// bitmaps and with zero size; a derived frame that wants them visible loads their bitmaps and
// sizes them (the close button's width spaces all three).
#pragma once

#include <windows.h>

#include "controls/MyCoolButton.h"
#include "framework/Afx.h"
#include "graphics/ImageEx.h"

// Commands of the caption buttons (the close button sends IDCANCEL).
#define ID_FRAME_MAXIMIZE 1025
#define ID_FRAME_MINIMIZE 1026

class CMyDialogEx : public CDialog {
    DECLARE_DYNAMIC(CMyDialogEx)
public:
    // The frame's fixed outer size, which is also its client size: a 700 x 500 background
    // plus the 1-pixel line on every side.
    static constexpr int kFrameWidth = 702;
    static constexpr int kFrameHeight = 502;

    CMyDialogEx(UINT nIDTemplate, CWnd* pParent);
    ~CMyDialogEx() override;

    // Switches the sizing bands, the sizing commands and the resizable painting. Nothing is
    // repainted or laid out.
    void SetResizable(bool bResizable);
    // Loads PNG resource nResourceId of hInstance as the background. False when the resource
    // does not load, and when an image is held already (it stays: release first). No repaint.
    bool LoadBackground(HINSTANCE hInstance, UINT nResourceId);
    // Lets go of the background; painting then shows the grey alone. Always true. No repaint.
    bool ReleaseBackground();

    BOOL OnInitDialog() override;

protected:
    // Maximise/restore and minimise, then the usual command routing.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // True: the maximise command does nothing. The frame answers false.
    virtual bool IsMaximizeDisabled();
    // Called during every paint with the composed background's DC and size, after the PNG is
    // drawn and before it is shown. The frame draws nothing here.
    virtual void OnDrawBackground(CDC* pDC, int cx, int cy);

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    CImageEx m_imgBackground;     // the background PNG
    CMyCoolButton m_btnClose;     // caption button, IDCANCEL
    CMyCoolButton m_btnMaximize;  // caption button, ID_FRAME_MAXIMIZE
    CMyCoolButton m_btnMinimize;  // caption button, ID_FRAME_MINIMIZE
    bool m_bInitialized;          // OnInitDialog has made the caption buttons: OnSize lays out
    bool m_bMaximized;            // moved onto the work area by the maximise command
    bool m_bResizable;            // sizing bands, sizing commands, resizable painting
    CRect m_rcRestore;            // window rectangle (screen) before the last maximise

    DECLARE_MESSAGE_MAP()
};
