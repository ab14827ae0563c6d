#include "framework/AfxWnd.h"

#include <cstdio>
#include <exception>
#include <unordered_map>

#include "framework/AfxApp.h"
#include "framework/AfxTempMap.h"

namespace {

// Windows with an object attached. Never destroyed, like the temporary maps.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static auto* map = new std::unordered_map<HWND, CWnd*>;
    return *map;
}

}  // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::~CWnd()
{
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;
    }
    if (!m_hWnd || FromHandlePermanent(m_hWnd) != this) return;
    if (m_bOwnsWindow) {
        // WM_NCDESTROY lets go of the handle.
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd) {
        if (m_pfnSuper)
            UnsubclassWindow();
        else
            Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
    return afx_detail::GetTempMap<CWnd, HWND>(&CWnd::m_hWnd).Get(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd) return nullptr;
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd || !hWndNew || !::IsWindow(hWndNew) || FromHandlePermanent(hWndNew)) return FALSE;
    PermanentMap()[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd && FromHandlePermanent(hWnd) == this) PermanentMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return FALSE;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    m_pfnSuper = previous == &AfxWndProc ? nullptr : previous;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!pParent) return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper &&
        ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    if (m_hWnd) return FALSE;
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                  nHeight, hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    if (!hWnd) return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    m_bOwnsWindow = true;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(newStyle));
    if (nFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = GetExStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(newStyle));
    if (nFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::GetWindowText(CString& rString) const
{
    int length = GetWindowTextLength();
    LPSTR buffer = rString.GetBufferSetLength(length > 0 ? length : 0);
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    rString.ReleaseBuffer();
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

// ---- dispatch ----------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_msgCur.message, m_msgCur.wParam, m_msgCur.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 0;
        return TRUE;
    }
    // ON_WM_CTLCOLOR entries stand for the Win32 colour messages; the 16-bit message itself
    // is never sent and is left to the default.
    if (message == WM_CTLCOLOR) return FALSE;
    UINT key = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) key = WM_CTLCOLOR;
    if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), key, 0, 0)) {
        *pResult = entry->pfn(this, message, wParam, lParam);
        return TRUE;
    }
    if (message == WM_DRAWITEM) return ReflectChildNotify(message, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Menus and accelerators (lParam 0) count as notification 0, like a click.
    UINT nID = LOWORD(wParam);
    int nCode = lParam == 0 ? 0 : HIWORD(wParam);
    return OnCmdMsg(nID, nCode, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM) return FALSE;
    auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    if (!item || item->CtlType == ODT_MENU) return FALSE;
    CWnd* pChild = FromHandlePermanent(item->hwndItem);
    return pChild && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT)
{
    LRESULT result = 0;
    if (!ReflectChildNotify(m_msgCur.message, m_msgCur.wParam, m_msgCur.lParam, &result)) Default();
}

void CWnd::OnFinalNcDestroy()
{
    HWND hWnd = m_hWnd;
    if (m_pfnSuper &&
        ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_pMainWnd == this) {
            pApp->m_pMainWnd = nullptr;
            if (pApp->IsRunning()) ::PostQuitMessage(0);
        }
    }
    PostNcDestroy();  // may delete this
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = pWnd->m_msgCur;
    pWnd->m_msgCur = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    int& depth = afx_detail::MessageDepth();
    ++depth;
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        // An exception must not unwind through the system's code that called us.
        fprintf(stderr, "uncaught exception in the handler of message 0x%04X: %s\n", message,
                e.what());
    } catch (...) {
        fprintf(stderr, "uncaught exception in the handler of message 0x%04X\n", message);
    }
    pWnd->m_msgCur = saved;
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) pWnd->OnFinalNcDestroy();
    if (--depth == 0) afx_detail::ReleaseTempMaps(true);
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

// ---- CMenu -------------------------------------------------------------------------------

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return afx_detail::GetTempMap<CMenu, HMENU>(&CMenu::m_hMenu).Get(hMenu);
}

BOOL CMenu::Attach(HMENU hMenu) { return afx_detail::AttachHandle(m_hMenu, hMenu); }
HMENU CMenu::Detach() { return afx_detail::DetachHandle(m_hMenu); }

BOOL CMenu::DestroyMenu() { return m_hMenu ? ::DestroyMenu(Detach()) : FALSE; }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    LPSTR buffer = rString.GetBufferSetLength(length > 0 ? length : 0);
    ::GetMenuStringA(m_hMenu, nIDItem, buffer, length + 1, nFlags);
    rString.ReleaseBuffer();
    return rString.GetLength();
}
