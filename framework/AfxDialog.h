// CDialog: a modal dialog made from a dialog template resource, with data exchange.
//
//   CMyDlg dlg;                 // CMyDlg : CDialog, constructed with the template id
//   INT_PTR result = dlg.DoModal();
//
// DoModal creates the dialog from the template in AfxGetResourceHandle() and runs the system's
// modal loop. While the controls exist and before the dialog shows, the dialog sends its
// initialisation data to them (AFX_RT_DLGINIT, see AfxRes.h) and calls OnInitDialog, whose
// base runs DoDataExchange, where DDX_Control attaches member controls. Enter runs OnOK and Esc
// runs OnCancel (IDOK and IDCANCEL commands); both end the dialog with EndDialog.
#pragma once

#include <windows.h>

#include "framework/AfxRes.h"
#include "framework/AfxWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// Subclasses the dialog's control nIDC with rControl, once; a missing control leaves rControl
// without a window.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog; returns the EndDialog result, or -1 when the template is missing or
    // the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

    virtual BOOL OnInitDialog();
    // Runs DoDataExchange; FALSE if it failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT GetTemplateID() const { return m_nIDTemplate; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Enter: UpdateData(TRUE), then EndDialog(IDOK). Esc: EndDialog(IDCANCEL).
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Unhandled commands go on to the application object.
    BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    // Sends the template's initialisation records to the controls.
    void ExecuteDlgInit();

    const BYTE* m_pDlgInit = nullptr;
    DWORD m_nDlgInitSize = 0;
};
