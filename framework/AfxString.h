// CString: a byte string in the system's ANSI code page (936 for this product's texts).
//
// Lengths, indexes and counts are in bytes, as with the A functions of Win32. The searching
// and rewriting operations (Find, ReverseFind, Replace, Trim*, MakeUpper, MakeLower,
// CompareNoCase) walk the text character by character, so the trail byte of a double-byte
// character is never taken for a character of its own: in code page 936 a trail byte can be
// '\\' (0x5C) or an ASCII letter. Left, Right and Mid cut at byte positions, like the A API.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_str(pch ? pch : "", pch && nLength > 0 ? nLength : 0) {}
    CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
    CString(const std::string& str) : m_str(str) {}
    // Converts UTF-16 text into the ANSI code page; characters it lacks become '?'.
    CString(LPCWSTR pwsz);

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz)
    {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator=(char ch)
    {
        m_str.assign(1, ch);
        return *this;
    }

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCSTR psz)
    {
        if (psz) m_str += psz;
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_str += ch;
        return *this;
    }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str.at(static_cast<size_t>(nIndex)); }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    char operator[](size_t nIndex) const { return m_str.at(nIndex); }
    void SetAt(int nIndex, char ch) { m_str.at(static_cast<size_t>(nIndex)) = ch; }

    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }
    // The text as UTF-16 (for the W functions of GDI+ and the shell).
    std::wstring ToWide() const;

    // A writable buffer of at least nMinBufLength bytes plus a terminating NUL; end the
    // writing with ReleaseBuffer (-1: the text ends at the first NUL).
    LPSTR GetBuffer(int nMinBufLength = 0);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    int Compare(LPCSTR psz) const;
    // Compares with ASCII letters folded; double-byte characters compare byte for byte.
    int CompareNoCase(LPCSTR psz) const;

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    // Byte index of the first character ch (or text psz) at or after nStart, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    // Byte index of the last character ch, or -1.
    int ReverseFind(char ch) const;

    // Replaces every occurrence; returns how many were replaced.
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, LPCSTR psz);

    // Blanks are ' ', '\t', '\r', '\n', '\v' and '\f'.
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(char chTarget);

    // Changes single-byte ASCII letters only.
    CString& MakeUpper();
    CString& MakeLower();

    void Format(LPCSTR pszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));

    // Loads string resource nID from AfxGetResourceHandle(); FALSE (text emptied) when there
    // is no such string.
    BOOL LoadString(UINT nID);

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, LPCSTR b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(LPCSTR a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_str + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
    friend bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    // Byte length of the character that starts at nIndex (2 for a lead byte with a trail).
    int CharLength(int nIndex) const;

    std::string m_str;
};
