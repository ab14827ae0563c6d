#include "framework/AfxString.h"

#include <cstdio>
#include <cstring>

#include "framework/AfxApp.h"

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

char FoldAscii(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }

}  // namespace

CString::CString(LPCWSTR pwsz)
{
    if (!pwsz || !*pwsz) return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, pwsz, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return;
    m_str.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, pwsz, -1, &m_str[0], bytes, nullptr, nullptr);
    m_str.resize(static_cast<size_t>(bytes - 1));
}

std::wstring CString::ToWide() const
{
    if (m_str.empty()) return std::wstring();
    int chars = MultiByteToWideChar(CP_ACP, 0, m_str.data(), GetLength(), nullptr, 0);
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    if (chars > 0) MultiByteToWideChar(CP_ACP, 0, m_str.data(), GetLength(), &wide[0], chars);
    return wide;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
    return &m_str[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<size_t>(nNewLength > 0 ? nNewLength : 0));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    size_t length = nNewLength < 0 ? strlen(m_str.c_str()) : static_cast<size_t>(nNewLength);
    if (length > m_str.size()) length = m_str.size();
    m_str.resize(length);
}

int CString::CharLength(int nIndex) const
{
    if (nIndex + 1 < GetLength() && IsDBCSLeadByte(static_cast<BYTE>(m_str[nIndex]))) return 2;
    return 1;
}

int CString::Compare(LPCSTR psz) const { return strcmp(m_str.c_str(), psz ? psz : ""); }

int CString::CompareNoCase(LPCSTR psz) const
{
    CString a(*this), b(psz);
    a.MakeLower();
    b.MakeLower();
    return a.Compare(b);
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0) return CString();
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const
{
    if (nCount <= 0) return CString();
    if (nCount >= GetLength()) return *this;
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0) nFirst = 0;
    if (nFirst >= GetLength() || nCount <= 0) return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

int CString::Find(char ch, int nStart) const
{
    for (int i = nStart < 0 ? 0 : nStart; i < GetLength(); i += CharLength(i))
        if (CharLength(i) == 1 && m_str[i] == ch) return i;
    return -1;
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (!pszSub || !*pszSub) return -1;
    const size_t subLength = strlen(pszSub);
    for (int i = nStart < 0 ? 0 : nStart; i < GetLength(); i += CharLength(i))
        if (m_str.compare(static_cast<size_t>(i), subLength, pszSub) == 0) return i;
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (int i = 0; i < GetLength(); i += CharLength(i))
        if (CharLength(i) == 1 && m_str[i] == ch) found = i;
    return found;
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    for (int i = 0; i < GetLength(); i += CharLength(i)) {
        if (CharLength(i) == 1 && m_str[i] == chOld) {
            m_str[i] = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew)
{
    if (!pszOld || !*pszOld) return 0;
    const std::string replacement = pszNew ? pszNew : "";
    const size_t oldLength = strlen(pszOld);
    std::string out;
    int count = 0;
    int i = 0;
    while (i < GetLength()) {
        if (m_str.compare(static_cast<size_t>(i), oldLength, pszOld) == 0) {
            out += replacement;
            i += static_cast<int>(oldLength);
            ++count;
        } else {
            out.append(m_str, static_cast<size_t>(i), static_cast<size_t>(CharLength(i)));
            i += CharLength(i);
        }
    }
    m_str.swap(out);
    return count;
}

int CString::Remove(char ch)
{
    std::string out;
    int count = 0;
    for (int i = 0; i < GetLength(); i += CharLength(i)) {
        if (CharLength(i) == 1 && m_str[i] == ch)
            ++count;
        else
            out.append(m_str, static_cast<size_t>(i), static_cast<size_t>(CharLength(i)));
    }
    m_str.swap(out);
    return count;
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    if (nIndex < 0) nIndex = 0;
    if (nIndex > GetLength()) nIndex = GetLength();
    if (psz) m_str.insert(static_cast<size_t>(nIndex), psz);
    return GetLength();
}

CString& CString::TrimLeft()
{
    size_t first = 0;
    while (first < m_str.size() && IsBlank(m_str[first])) ++first;
    m_str.erase(0, first);
    return *this;
}

CString& CString::TrimRight()
{
    // Walk forward: the end is after the last character that is not blank.
    int end = 0;
    for (int i = 0; i < GetLength(); i += CharLength(i))
        if (CharLength(i) == 2 || !IsBlank(m_str[i])) end = i + CharLength(i);
    m_str.resize(static_cast<size_t>(end));
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::Trim(char chTarget)
{
    int end = 0;
    for (int i = 0; i < GetLength(); i += CharLength(i))
        if (CharLength(i) == 2 || m_str[i] != chTarget) end = i + CharLength(i);
    m_str.resize(static_cast<size_t>(end));
    size_t first = 0;
    while (first < m_str.size() && m_str[first] == chTarget) ++first;
    m_str.erase(0, first);
    return *this;
}

CString& CString::MakeUpper()
{
    for (int i = 0; i < GetLength(); i += CharLength(i))
        if (CharLength(i) == 1 && m_str[i] >= 'a' && m_str[i] <= 'z') m_str[i] -= 'a' - 'A';
    return *this;
}

CString& CString::MakeLower()
{
    for (int i = 0; i < GetLength(); i += CharLength(i))
        if (CharLength(i) == 1) m_str[i] = FoldAscii(m_str[i]);
    return *this;
}

void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    m_str.clear();
    if (!pszFormat) return;
    va_list copy;
    va_copy(copy, args);
    int needed = __mingw_vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (needed <= 0) return;
    m_str.resize(static_cast<size_t>(needed) + 1);
    __mingw_vsnprintf(&m_str[0], m_str.size(), pszFormat, args);
    m_str.resize(static_cast<size_t>(needed));
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR pszFormat, ...)
{
    CString more;
    va_list args;
    va_start(args, pszFormat);
    more.FormatV(pszFormat, args);
    va_end(args);
    m_str += more.m_str;
}

BOOL CString::LoadString(UINT nID)
{
    // A string resource holds at most 65535 UTF-16 units; each may take two bytes here.
    for (int size = 256; size <= 2 * 65536; size *= 2) {
        std::string buffer(static_cast<size_t>(size), '\0');
        int length = ::LoadStringA(AfxGetResourceHandle(), nID, &buffer[0], size);
        if (length < size - 1) {
            m_str.assign(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
            return length > 0;
        }
    }
    return FALSE;
}
