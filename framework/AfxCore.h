// Run-time class information, the command target and message maps.
//
// A message map is a static table of entries, one per handled message or command, that ends
// with a link to the base class's table. Dispatch searches the most derived table first and
// follows the links; a message no table handles goes to the window's default procedure.
//
//   // MyDlg.h
//   class CMyDlg : public CDialog {
//       ...
//       afx_msg void OnPaint();
//       afx_msg void OnBnClickedInstall();
//       DECLARE_MESSAGE_MAP()
//   };
//   // MyDlg.cpp
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_PAINT()
//       ON_BN_CLICKED(1014, &CMyDlg::OnBnClickedInstall)
//   END_MESSAGE_MAP()
//
// Each entry macro calls the handler through a small typed function (a lambda made by the
// macro), so a handler with the wrong signature does not compile. The window-message macros
// use the handler names fixed below (ON_WM_PAINT calls OnPaint, ...); the command and
// ON_MESSAGE macros take a pointer to member.
#pragma once

#include <windows.h>

class CObject;
class CCmdTarget;

// Deletes every temporary wrapper that FromHandle made (CWnd, CDC, CFont, ...). The framework
// deletes those made during a message when the outermost message dispatch returns.
void AfxDeleteTempMaps();

// Marks a message handler in a class declaration; expands to nothing.
#define afx_msg

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();  // null unless the class is DYNCREATE
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                     \
public:                                                 \
    static const CRuntimeClass class##class_name;       \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, pfnCreate)                          \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name),      \
                                                         pfnCreate, RUNTIME_CLASS(base_name)}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
    AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                     \
    CObject* class_name::CreateObject() { return new class_name; } \
    AFX_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, class_name::CreateObject)

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const
    {
        return GetRuntimeClass()->IsDerivedFrom(pClass);
    }

protected:
    CObject() = default;
};

// ---- message maps ------------------------------------------------------------------------

// Calls one handler: unpacks wParam and lParam for it and packs its result.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, UINT nMessage, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // the window message; WM_COMMAND for commands
    UINT nCode;     // WM_COMMAND only: the notification code (0 for clicks and menu commands)
    UINT nID;       // WM_COMMAND only: first command or control id
    UINT nLastID;   // WM_COMMAND only: last command or control id
    AFX_PMSG pfn;   // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The legacy colour message: ON_WM_CTLCOLOR entries answer every WM_CTLCOLOR* message.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the handler for command nID with notification code nCode from this object's
    // message map chain. FALSE: no entry handles it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam);

    // The first entry for (nMessage, nCode, nID) in pMap or the maps it chains to.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                    UINT nCode, UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                   \
protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                 \
    {                                                                               \
        typedef theClass ThisClass;                                                 \
        typedef baseClass TheBaseClass;                                             \
        static_assert(sizeof(ThisClass) > 0, "complete class");                     \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                             \
        {0, 0, 0, 0, nullptr}};                                                       \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,       \
                                              &_messageEntries[0]};                   \
        return &messageMap;                                                           \
    }

// The typed call of one entry: pThis is the object as ThisClass; nMsg, wParam and lParam are
// the message as it came.
#define AFX_THUNK_(...)                                                               \
    [](CCmdTarget * pTarget_, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {   \
        ThisClass* pThis = static_cast<ThisClass*>(pTarget_);                         \
        (void)pThis, (void)nMsg, (void)wParam, (void)lParam;                          \
        __VA_ARGS__                                                                   \
    }

// ---- commands and custom messages --------------------------------------------------------

// void memberFxn()  -- WM_COMMAND from a menu, accelerator or control (notification 0)
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (id), (id),   \
     AFX_THUNK_((pThis->*static_cast<void (ThisClass::*)()>(memberFxn))(); return 0;)},

// void memberFxn()  -- WM_COMMAND with notification code wNotifyCode from control id
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (wNotifyCode), (id), (id),    \
     AFX_THUNK_((pThis->*static_cast<void (ThisClass::*)()>(memberFxn))(); return 0;)},

// void memberFxn()  -- BN_CLICKED from button id
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// void memberFxn()  -- EN_CHANGE from edit id
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)  -- any message by number
#define ON_MESSAGE(message, memberFxn)                                                 \
    {(message), 0, 0, 0,                                                               \
     AFX_THUNK_(return (pThis->*static_cast<LRESULT (ThisClass::*)(WPARAM, LPARAM)>(   \
                            memberFxn))(wParam, lParam);)},

// ---- window messages (handler names are fixed) -------------------------------------------

// void OnPaint()
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AFX_THUNK_(pThis->OnPaint(); return 0;)},

// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND()        \
    {WM_ERASEBKGND, 0, 0, 0,      \
     AFX_THUNK_(return pThis->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));)},

// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE()                                                                        \
    {WM_SIZE, 0, 0, 0,                                                                      \
     AFX_THUNK_(pThis->OnSize(static_cast<UINT>(wParam), static_cast<int>(LOWORD(lParam)),  \
                              static_cast<int>(HIWORD(lParam)));                            \
                return 0;)},

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, AFX_THUNK_(pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)},

// void OnClose()
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AFX_THUNK_(pThis->OnClose(); return 0;)},

// void OnDestroy()
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AFX_THUNK_(pThis->OnDestroy(); return 0;)},

// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)  -- every WM_CTLCOLOR* message;
// nCtlColor is CTLCOLOR_EDIT, CTLCOLOR_STATIC, CTLCOLOR_BTN, CTLCOLOR_DLG, ...
#define ON_WM_CTLCOLOR()                                                                  \
    {WM_CTLCOLOR, 0, 0, 0,                                                                \
     AFX_THUNK_(return reinterpret_cast<LRESULT>(pThis->OnCtlColor(                       \
                    CDC::FromHandle(reinterpret_cast<HDC>(wParam)),                       \
                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),                     \
                    nMsg - WM_CTLCOLORMSGBOX));)},

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, 0, \
     AFX_THUNK_(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;)},

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, \
     AFX_THUNK_(return reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon());)},

// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)  -- in the owner; without
// this entry the owner reflects WM_DRAWITEM to the child's DrawItem
#define ON_WM_DRAWITEM()                                                              \
    {WM_DRAWITEM, 0, 0, 0,                                                            \
     AFX_THUNK_(pThis->OnDrawItem(static_cast<int>(wParam),                           \
                                  reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));        \
                return TRUE;)},

// void OnSetFocus(CWnd* pOldWnd)
#define ON_WM_SETFOCUS()   \
    {WM_SETFOCUS, 0, 0, 0, \
     AFX_THUNK_(pThis->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return 0;)},

// void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_KILLFOCUS()   \
    {WM_KILLFOCUS, 0, 0, 0, \
     AFX_THUNK_(pThis->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return 0;)},

// Mouse messages in client coordinates: void OnXxx(UINT nFlags, CPoint point)
#define AFX_ON_MOUSE_(message, handler) \
    {(message), 0, 0, 0,                \
     AFX_THUNK_(pThis->handler(static_cast<UINT>(wParam), CPoint(lParam)); return 0;)},
// void OnMouseMove(UINT nFlags, CPoint point)
#define ON_WM_MOUSEMOVE() AFX_ON_MOUSE_(WM_MOUSEMOVE, OnMouseMove)
// void OnLButtonDown(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDOWN() AFX_ON_MOUSE_(WM_LBUTTONDOWN, OnLButtonDown)
// void OnLButtonUp(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONUP() AFX_ON_MOUSE_(WM_LBUTTONUP, OnLButtonUp)
// void OnLButtonDblClk(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_MOUSE_(WM_LBUTTONDBLCLK, OnLButtonDblClk)

// Non-client messages, point in screen coordinates.
// LRESULT OnNcHitTest(CPoint point)
#define ON_WM_NCHITTEST() \
    {WM_NCHITTEST, 0, 0, 0, AFX_THUNK_(return pThis->OnNcHitTest(CPoint(lParam));)},
// void OnNcLButtonDown(UINT nHitTest, CPoint point)
#define ON_WM_NCLBUTTONDOWN() AFX_ON_MOUSE_(WM_NCLBUTTONDOWN, OnNcLButtonDown)
// void OnNcLButtonDblClk(UINT nHitTest, CPoint point)
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_MOUSE_(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
// void OnNcMouseMove(UINT nHitTest, CPoint point)
#define ON_WM_NCMOUSEMOVE() AFX_ON_MOUSE_(WM_NCMOUSEMOVE, OnNcMouseMove)
// void OnNcMouseLeave()
#define ON_WM_NCMOUSELEAVE() \
    {WM_NCMOUSELEAVE, 0, 0, 0, AFX_THUNK_(pThis->OnNcMouseLeave(); return 0;)},
// void OnNcPaint()
#define ON_WM_NCPAINT() {WM_NCPAINT, 0, 0, 0, AFX_THUNK_(pThis->OnNcPaint(); return 0;)},
// void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
#define ON_WM_NCCALCSIZE()                                                               \
    {WM_NCCALCSIZE, 0, 0, 0,                                                             \
     AFX_THUNK_(pThis->OnNcCalcSize(static_cast<BOOL>(wParam),                           \
                                    reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));       \
                return 0;)},
// void OnCaptureChanged(CWnd* pWnd)
#define ON_WM_CAPTURECHANGED()   \
    {WM_CAPTURECHANGED, 0, 0, 0, \
     AFX_THUNK_(pThis->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))); \
                return 0;)},
