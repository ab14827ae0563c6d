// CMFCEditBrowseCtrl: an edit field with a browse button at its right end.
//
// The button lives in the field's non-client area, beside the text. In folder mode a click
// opens the shell's folder picker, starting at the field's text, and puts the chosen folder
// into the field. Derived classes change the button's look in OnDrawBrowseButton and what a
// click does in OnBrowse.
//
// Dialog templates name the window class "MfcEditBrowse" (AfxRegisterEditBrowseClass, done by
// DoModal and at program start): an "Edit" that remembers the browse mode its dialog
// initialisation record gives ("<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>": folder mode;
// any other value: no button) until a CMFCEditBrowseCtrl subclasses it.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "framework/AfxControls.h"
#include "framework/AfxRes.h"

class CMFCEditBrowseCtrl : public CEdit {
    DECLARE_DYNAMIC(CMFCEditBrowseCtrl)
public:
    enum BrowseMode {
        BrowseMode_None,     // a plain edit field
        BrowseMode_Default,  // the button calls OnBrowse, which a derived class provides
        BrowseMode_Folder,   // the button opens the folder picker
    };

    CMFCEditBrowseCtrl() = default;

    // Shows (or hides) the button in default mode with the given caption.
    void EnableBrowseButton(BOOL bEnable = TRUE, LPCSTR szButtonText = "...");
    void EnableFolderBrowseButton(LPCSTR szTitle = nullptr, UINT ulFlags = BIF_RETURNONLYFSDIRS);
    BrowseMode GetMode() const { return m_mode; }
    // The button's rectangle in window coordinates (empty without a button).
    CRect GetButtonRect() const { return m_rectButton; }

    // What a click on the button does. Folder mode: pick a folder, put it into the field and
    // call OnAfterUpdate.
    virtual void OnBrowse();
    // Draws the button; rect is in the coordinates of pDC (a window DC).
    virtual void OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL bIsButtonPressed,
                                    BOOL bIsButtonHot);
    virtual void OnAfterUpdate() {}

    // Parses initialisation-record bytes; BrowseMode_None for anything but folder mode.
    static BrowseMode ParseInitData(const char* data, size_t length);

protected:
    void PreSubclassWindow() override;
    // Draws the button at once, outside WM_NCPAINT.
    void RedrawButton();
    void SetMode(BrowseMode mode);

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseLeave();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);

    BrowseMode m_mode = BrowseMode_None;
    CString m_strButtonText = "...";
    CString m_strBrowseFolderTitle;
    UINT m_ulBrowseFolderFlags = BIF_RETURNONLYFSDIRS;
    CRect m_rectButton;  // window coordinates
    BOOL m_bButtonHot = FALSE;
    BOOL m_bButtonPressed = FALSE;
    BOOL m_bButtonCaptured = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    BOOL IsOverButton(CPoint screenPoint) const;
};

// Registers the "MfcEditBrowse" window class once; TRUE when it is registered.
BOOL AfxRegisterEditBrowseClass();
