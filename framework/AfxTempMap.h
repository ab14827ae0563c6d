// Temporary wrapper objects for handles the framework does not own (internal).
//
// CWnd::FromHandle, CDC::FromHandle, CFont::FromHandle, ... return a pointer to an object
// that wraps a handle nobody attached. Such objects live in a map keyed by the handle, so one
// handle gets one wrapper. Wrappers made while a message is dispatched are deleted when the
// outermost message dispatch returns; wrappers made outside any message live until
// AfxDeleteTempMaps. A temporary pointer is therefore valid for the rest of the message
// handler that obtained it, never beyond.
#pragma once

#include <windows.h>

#include "framework/AfxCore.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace afx_detail {

// Attach and Detach of the wrappers that own one handle (CGdiObject, CDC, CMenu): Attach takes
// a handle only into an empty wrapper, Detach gives it up and leaves the wrapper empty.
template <class H>
BOOL AttachHandle(H& member, H handle)
{
    if (member || !handle) return FALSE;
    member = handle;
    return TRUE;
}
template <class H>
H DetachHandle(H& member)
{
    H handle = member;
    member = nullptr;
    return handle;
}

// Nesting depth of message dispatch through the framework's window procedures.
int& MessageDepth();

// Every temporary map registers its clean-up here.
void RegisterTempMap(std::function<void(bool onlyMessageTemps)> release);
void ReleaseTempMaps(bool onlyMessageTemps);

template <class T, class H, class Member>
class TempMap {
public:
    explicit TempMap(Member member) : m_member(member)
    {
        RegisterTempMap([this](bool onlyMessageTemps) { Release(onlyMessageTemps); });
    }

    T* Get(H handle)
    {
        if (!handle) return nullptr;
        auto it = m_entries.find(handle);
        if (it != m_entries.end()) return it->second.object.get();
        Entry entry{std::unique_ptr<T>(new T), MessageDepth() > 0};
        entry.object.get()->*m_member = handle;
        T* object = entry.object.get();
        m_entries.emplace(handle, std::move(entry));
        return object;
    }

    void Release(bool onlyMessageTemps)
    {
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (onlyMessageTemps && !it->second.madeInMessage) {
                ++it;
                continue;
            }
            // The wrapper owns nothing: clear the handle so that its destructor leaves it.
            it->second.object.get()->*m_member = nullptr;
            it = m_entries.erase(it);
        }
    }

private:
    struct Entry {
        std::unique_ptr<T> object;
        bool madeInMessage;
    };
    Member m_member;
    std::unordered_map<H, Entry> m_entries;
};

// One map per wrapper type. Never destroyed: a handler may end the process with exit() while
// messages are still being dispatched.
template <class T, class H, class Member>
TempMap<T, H, Member>& GetTempMap(Member member)
{
    static auto* map = new TempMap<T, H, Member>(member);
    return *map;
}

}  // namespace afx_detail
