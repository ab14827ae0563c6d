// The application object. WinMain lives in this file on purpose: a program that defines an
// application object links this file, and with it the entry point.
#include "framework/AfxApp.h"

#include <memory>

#include "framework/AfxEditBrowse.h"
#include "framework/AfxTempMap.h"
#include "framework/AfxWnd.h"

namespace {

CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;

const CRuntimeClass* g_pVisualManagerClass = RUNTIME_CLASS(CMFCVisualManager);
CMFCVisualManager* g_pVisualManager = nullptr;

}  // namespace

CShellManager* afxShellManager = nullptr;

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetResourceHandle() { return g_hResource ? g_hResource : ::GetModuleHandleA(nullptr); }

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp && g_pApp->m_hInstance) return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    if (lpszAppName) {
        m_strAppName = lpszAppName;
    } else {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        CString name(path);
        name = name.Mid(name.ReverseFind('\\') + 1);
        int dot = name.ReverseFind('.');
        m_strAppName = dot > 0 ? name.Left(dot) : name;
    }
    m_pszAppName = m_strAppName;
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) {
        // Looked up at run time: systems before Vista lack it.
        using RegisterRestart = HRESULT(WINAPI*)(PCWSTR, DWORD);
        auto registerRestart = reinterpret_cast<RegisterRestart>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "RegisterApplicationRestart")));
        m_bRegisteredForRestart = registerRestart && SUCCEEDED(registerRestart(nullptr, 0));
    }
    return TRUE;
}

int CWinApp::ExitInstance() { return m_nExitCode; }

int CWinApp::Run()
{
    m_bRunning = true;
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (got == 0) m_nExitCode = static_cast<int>(msg.wParam);
    m_bRunning = false;
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
}

void AfxRestrictDllSearchToSystem()
{
    // Looked up rather than imported: Windows 7 has it only with an update, and a missing import
    // would keep the program from starting at all.
    using SetDirs = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories = reinterpret_cast<SetDirs>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else
        ::SetDllDirectoryA("");  // at least not the current folder
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    AfxRegisterEditBrowseClass();

    int exitCode;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd) pApp->m_pMainWnd->DestroyWindow();
        exitCode = pApp->ExitInstance();
    } else {
        exitCode = pApp->Run();
    }
    AfxDeleteTempMaps();
    return exitCode;
}

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    AfxRestrictDllSearchToSystem();
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}

// ---- shell -------------------------------------------------------------------------------

namespace {

int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM, LPARAM lpData)
{
    if (message == BFFM_INITIALIZED && lpData)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}

}  // namespace

BOOL AfxBrowseForFolder(CString& strFolder, HWND hWndOwner, LPCSTR lpszInitialFolder,
                        LPCSTR lpszTitle, UINT ulFlags)
{
    BROWSEINFOA info{};
    info.hwndOwner = hWndOwner;
    info.lpszTitle = lpszTitle;
    info.ulFlags = ulFlags;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(
        lpszInitialFolder && *lpszInitialFolder ? lpszInitialFolder : nullptr);
    LPITEMIDLIST item = ::SHBrowseForFolderA(&info);
    if (!item) return FALSE;
    char path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListA(item, path);
    ::CoTaskMemFree(item);
    if (!ok) return FALSE;
    strFolder = path;
    return TRUE;
}

CShellManager::CShellManager() : m_hrCom(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
{
    afxShellManager = this;
}

CShellManager::~CShellManager()
{
    if (SUCCEEDED(m_hrCom)) ::CoUninitialize();
    if (afxShellManager == this) afxShellManager = nullptr;
}

BOOL CShellManager::BrowseForFolder(CString& strOutFolder, CWnd* pWndParent,
                                    LPCSTR lplszInitialFolder, LPCSTR lpszTitle, UINT ulFlags)
{
    return AfxBrowseForFolder(strOutFolder, pWndParent ? pWndParent->m_hWnd : nullptr,
                              lplszInitialFolder, lpszTitle, ulFlags);
}

// ---- visual manager ----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMFCVisualManager, CObject)
IMPLEMENT_DYNCREATE(CMFCVisualManagerWindows, CMFCVisualManager)

void CMFCVisualManager::SetDefaultManager(const CRuntimeClass* pRTC)
{
    if (!pRTC || !pRTC->IsDerivedFrom(RUNTIME_CLASS(CMFCVisualManager))) return;
    g_pVisualManagerClass = pRTC;
    DestroyInstance();
    g_pVisualManager = static_cast<CMFCVisualManager*>(pRTC->CreateObject());
}

CMFCVisualManager* CMFCVisualManager::GetInstance()
{
    if (!g_pVisualManager)
        g_pVisualManager = static_cast<CMFCVisualManager*>(g_pVisualManagerClass->CreateObject());
    return g_pVisualManager;
}

void CMFCVisualManager::DestroyInstance()
{
    delete g_pVisualManager;
    g_pVisualManager = nullptr;
}

bool CMFCVisualManager::HasInstance() { return g_pVisualManager != nullptr; }

void ControlBarCleanUp() { CMFCVisualManager::DestroyInstance(); }
