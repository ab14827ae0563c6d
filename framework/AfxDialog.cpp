#include "framework/AfxDialog.h"

#include <cstring>

#include "framework/AfxApp.h"
#include "framework/AfxEditBrowse.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd || !pDX || !pDX->m_pDlgWnd) return;
    rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

// The dialog procedure only starts things: at WM_INITDIALOG it subclasses the dialog window
// with its CDialog, whose WindowProc then gets every message before the system's dialog
// procedure does.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;
    auto* pDialog = reinterpret_cast<CDialog*>(lParam);
    if (!pDialog || !pDialog->SubclassWindow(hWnd)) return TRUE;
    return AfxCallWndProc(pDialog, hWnd, message, wParam, lParam);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hTemplate = ::FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
    if (!hTemplate) return -1;
    auto* pTemplate =
        static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(hInstance, hTemplate)));
    if (!pTemplate) return -1;

    m_pDlgInit = nullptr;
    m_nDlgInitSize = 0;
    if (HRSRC hInit = ::FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate),
                                      MAKEINTRESOURCEA(AFX_RT_DLGINIT))) {
        m_pDlgInit = static_cast<const BYTE*>(::LockResource(::LoadResource(hInstance, hInit)));
        m_nDlgInitSize = m_pDlgInit ? ::SizeofResource(hInstance, hInit) : 0;
    }

    AfxRegisterEditBrowseClass();
    HWND hParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return ::DialogBoxIndirectParamA(hInstance, pTemplate, hParent, &AfxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Never passed on: the system's dialog procedure would call AfxDlgProc again.
    if (message == WM_INITDIALOG) {
        ExecuteDlgInit();
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::ExecuteDlgInit()
{
    const BYTE* data = m_pDlgInit;
    DWORD size = m_nDlgInitSize;
    DWORD offset = 0;
    while (data && offset + sizeof(WORD) <= size) {
        WORD id, message;
        DWORD length;
        memcpy(&id, data + offset, sizeof id);
        if (id == 0) break;
        if (offset + 8 > size) break;
        memcpy(&message, data + offset + 2, sizeof message);
        memcpy(&length, data + offset + 4, sizeof length);
        offset += 8;
        if (length > size - offset) break;  // a record cut short: stop
        ::SendDlgItemMessageA(m_hWnd, id, message, length,
                              reinterpret_cast<LPARAM>(data + offset));
        offset += length;
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCmdMsg(nID, nCode, wParam, lParam)) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, wParam, lParam);
}
