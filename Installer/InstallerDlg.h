// The installer's only window: a borderless, skinned 702 x 502 dialog (template 102) showing
// three screens in turn: start (install folder, agreement, install), progress (one bar for the
// download and the setup) and finished (launch the product, close).
//
// The dialog carries the install session: the session owns the rules from the install command
// to the finished screen and acts on the dialog through IInstallView, which the dialog
// implements with its real controls; the dialog forwards the install command, the downloader's
// two messages, timer 1 and the agreement box's toggles to it.
//
// Order of use: DoModal creates the window; OnInitDialog asks the configuration service for
// the download address (blocking), gives every control its images, colours, fonts and place,
// writes the default install folder and registers the window with the downloader. From then
// on the user drives it. The close and launch commands end the process with exit code 0; the
// framework's Enter and Esc end the modal dialog instead, and a download still running then
// keeps only the session's shared part alive, never the dialog.
#pragma once

#include <windows.h>

#include <string>

#include "controls/ImageCheckBox.h"
#include "controls/MyCoolButton.h"
#include "controls/MyCustomButton.h"
#include "controls/MyDialogEx.h"
#include "controls/MyEditBrowseCtrl.h"
#include "controls/MyProgressCtrl.h"
#include "framework/Afx.h"
#include "workflow/InstallSession.h"

// The folder the install folder text starts with.
extern const char kDefaultInstallDir[];  // "C:\Program Files\德拉沃归档助手\"
// "https://" + web host + "/end-user-agreement/"
std::string AgreementPageUrl();
// The install folder for a folder the user chose: the product's folder inside it, with the
// trailing backslash. A drive root ("C:\") already ends with one.
CString InstallDirForChosenFolder(const CString& strFolder);

class CInstallerDlg : public CMyDialogEx, private IInstallView {
public:
    explicit CInstallerDlg(CWnd* pParent = nullptr);
    ~CInstallerDlg() override;

    // The configuration service's download address into url; 1 when it gave one.
    int FetchDownloadUrl(std::string& url);

    // The session: download address, install folder, staging paths.
    const CInstallSession& Session() const { return m_session; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnBnClickedLaunch();
    afx_msg void OnClose();
    afx_msg void OnBnClickedInstall();
    afx_msg void OnBnClickedBrowse();
    afx_msg LRESULT OnDownloadProgress(WPARAM wParam, LPARAM lParam);
    afx_msg void OnAgreeChanged();
    afx_msg LRESULT OnDownloadFinished(WPARAM wParam, LPARAM lParam);
    afx_msg void OnBnClickedAgreement();
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    CMyProgressCtrl m_progress;
    CMyEditBrowseCtrl m_editBrowse;  // configured, and hidden on every screen
    CMyCoolButton m_btnInstall;
    CMyCoolButton m_btnExit;
    CMyCoolButton m_btnBrowse;
    CImageCheckBox m_chkAgree;  // subclassed in OnInitDialog
    CMyCustomButton m_btnAgreement;
    CMyCoolButton m_btnLaunch;
    CEdit m_editPath;  // the install folder, read-only
    // Declared last: destroyed first, while the controls it acts on still exist.
    CInstallSession m_session;

private:
    // IInstallView, with the real controls.
    int GetBarPos() override;
    void SetBarPos(int pos) override;
    void RepaintBar() override;
    void ShowScreen(InstallScreen screen) override;
    void SetPollTimer(bool running) override;
    std::string GetInstallFolderText() override;
    void SetInstallEnabled(bool enabled) override;
    bool IsAgreeChecked() override;
    void MakeTopmost() override;
};
