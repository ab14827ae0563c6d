#include "framework/AfxCore.h"

#include "framework/AfxTempMap.h"

// ---- run-time classes --------------------------------------------------------------------

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass)
        if (pClass == pBaseClass) return TRUE;
    return FALSE;
}

// ---- message maps ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                     UINT nCode, UINT nID)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = pMap->lpEntries; entry->pfn; ++entry) {
            if (entry->nMessage != nMessage) continue;
            if (nMessage == WM_COMMAND &&
                (entry->nCode != nCode || nID < entry->nID || nID > entry->nLastID))
                continue;
            return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam)
{
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!entry) return FALSE;
    entry->pfn(this, WM_COMMAND, wParam, lParam);
    return TRUE;
}

// ---- temporary wrappers ------------------------------------------------------------------

namespace afx_detail {

int& MessageDepth()
{
    static int depth = 0;
    return depth;
}

namespace {
std::vector<std::function<void(bool)>>& TempMapRegistry()
{
    static auto* registry = new std::vector<std::function<void(bool)>>;
    return *registry;
}
}  // namespace

void RegisterTempMap(std::function<void(bool onlyMessageTemps)> release)
{
    TempMapRegistry().push_back(std::move(release));
}

void ReleaseTempMaps(bool onlyMessageTemps)
{
    for (auto& release : TempMapRegistry()) release(onlyMessageTemps);
}

}  // namespace afx_detail

void AfxDeleteTempMaps() { afx_detail::ReleaseTempMaps(false); }
