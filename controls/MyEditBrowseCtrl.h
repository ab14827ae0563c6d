// CMyEditBrowseCtrl: the path field, an edit field with a browse button at its right end. It
// changes only the look of CMFCEditBrowseCtrl: the text area is painted flat grey with the
// text on one line, vertically centred, and the browse button is a flat grey square with the
// folder image. Reserving the button's place, tracking the mouse over it, the folder picker
// and putting the chosen folder into the field stay the base class's.
//
// Use: attach it to an "MfcEditBrowse" control of a dialog (DDX_Control), whose initialisation
// record sets folder mode; give it a font with SetFont. The text is set and read with the
// window-text calls.
#pragma once

#include "framework/Afx.h"

class CMyEditBrowseCtrl : public CMFCEditBrowseCtrl {
    DECLARE_DYNAMIC(CMyEditBrowseCtrl)
public:
    // The browse button's image: a resource of type "png" with this id in the module of
    // AfxGetResourceHandle() (the executable ships it as open_save_path.png, 16 x 16 RGBA).
    static constexpr UINT kBrowseImageResourceId = 187;

    CMyEditBrowseCtrl() = default;
    ~CMyEditBrowseCtrl() override = default;

    // Flat grey face, lighter grey while the mouse is over it (pressed looks like hot), and
    // the image scaled to its size less 3 pixels, centred.
    void OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL bIsButtonPressed,
                            BOOL bIsButtonHot) override;

    // The one image every path field of the process draws on its button. It is created empty
    // on first use and loaded by the first button paint that finds the resource; while it
    // cannot be loaded every button paint tries again, and once loaded it stays for the
    // life of the process. Only the user-interface thread loads and draws it.
    static CImage& GetBrowseImage();

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};
