// The application object, the program entry and the start-up services.
//
// A program defines exactly one global object of a CWinApp subclass. The framework's WinMain
// finds it, sets up the framework and calls InitInstance. When InitInstance returns FALSE
// (a dialog-based program runs its dialog inside InitInstance) the program ends with
// ExitInstance's result; when it returns TRUE, Run pumps messages until WM_QUIT, which the
// framework posts when m_pMainWnd's window is destroyed.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "framework/AfxCore.h"
#include "framework/AfxRes.h"
#include "framework/AfxString.h"

class CWnd;

// m_dwRestartManagerSupportFlags: register with the Windows Restart Manager at start.
#define AFX_RESTART_MANAGER_SUPPORT_RESTART 0x01

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // lpszAppName null: the executable's name without its extension.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Framework set-up for the application; registers for restart when
    // m_dwRestartManagerSupportFlags asks for it. Returns TRUE.
    virtual BOOL InitInstance();
    // The program's exit code (0, or the WM_QUIT code Run saw).
    virtual int ExitInstance();
    // Dispatches messages until WM_QUIT, then returns ExitInstance().
    virtual int Run();

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    // Names the registry key of the application's settings. Only remembered: nothing is
    // read from or written to the registry.
    void SetRegistryKey(LPCSTR lpszRegistryKey);

    // The help command: the program has no help file, so it does nothing.
    afx_msg void OnHelp() {}

    bool IsRunning() const { return m_bRunning; }
    // Whether InitInstance registered the process with the Restart Manager.
    bool IsRegisteredForRestart() const { return m_bRegisteredForRestart; }

    LPCSTR m_pszAppName;
    LPCSTR m_pszRegistryKey = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;

protected:
    int m_nExitCode = 0;

private:
    CString m_strAppName;
    CString m_strRegistryKey;
    bool m_bRunning = false;
    bool m_bRegisteredForRestart = false;
};

CWinApp* AfxGetApp();
// The module whose resources the framework loads: the executable unless set otherwise.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxGetInstanceHandle();
// Hosting ActiveX controls needs nothing here: the product hosts none.
inline void AfxEnableControlContainer() {}
// Makes every later DLL load search the system folder only (WinMain calls it first thing):
// a program started from a downloads folder must not load a DLL planted beside it.
void AfxRestrictDllSearchToSystem();
// Loads a DLL by its name from the system folder, never from anywhere else; null when it cannot.
HMODULE AfxLoadSystemLibrary(LPCSTR lpszName);
// The body of WinMain: sets up the framework and runs the application object.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

// Opens the shell's folder picker (owned by hWndOwner, starting at lpszInitialFolder when it
// names one) and returns the chosen file-system folder. FALSE: cancelled or not a folder.
BOOL AfxBrowseForFolder(CString& strFolder, HWND hWndOwner, LPCSTR lpszInitialFolder,
                        LPCSTR lpszTitle, UINT ulFlags = BIF_RETURNONLYFSDIRS);

// The shell services for the user-interface thread: constructing it initialises COM for the
// thread (apartment-threaded, as the folder picker needs), destroying it undoes that.
class CShellManager {
public:
    CShellManager();
    ~CShellManager();
    CShellManager(const CShellManager&) = delete;
    CShellManager& operator=(const CShellManager&) = delete;

    BOOL BrowseForFolder(CString& strOutFolder, CWnd* pWndParent = nullptr,
                         LPCSTR lplszInitialFolder = nullptr, LPCSTR lpszTitle = nullptr,
                         UINT ulFlags = BIF_RETURNONLYFSDIRS);

private:
    HRESULT m_hrCom;
};

// The shell manager constructed last, or null.
extern CShellManager* afxShellManager;

// The visual manager decides the look of framework-drawn parts. The framework draws nothing
// with it; start-up only names the class, and ControlBarCleanUp deletes the instance.
class CMFCVisualManager : public CObject {
    DECLARE_DYNCREATE(CMFCVisualManager)
public:
    // Replaces the instance by a new object of pRTC (a CMFCVisualManager class).
    static void SetDefaultManager(const CRuntimeClass* pRTC);
    // The instance, made on first use from the default class.
    static CMFCVisualManager* GetInstance();
    static void DestroyInstance();
    static bool HasInstance();
};

class CMFCVisualManagerWindows : public CMFCVisualManager {
    DECLARE_DYNCREATE(CMFCVisualManagerWindows)
};

// Frees what the control-bar services hold: the visual manager's instance.
void ControlBarCleanUp();
