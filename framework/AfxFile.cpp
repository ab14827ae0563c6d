#include "framework/AfxFile.h"

#include <cstring>

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags)
{
    Close();
    if (!lpszFileName) return FALSE;
    DWORD access = 0;
    switch (nOpenFlags & 0x3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: return FALSE;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;  // compat and exclusive
    }
    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    m_hFile = ::CreateFileA(lpszFileName, access, share, &security, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    DWORD read = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) return 0;
    return read;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    DWORD written = 0;
    return ::WriteFile(m_hFile, lpBuf, nCount, &written, nullptr) && written == nCount;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_hFile, &size)) return 0;
    return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus)
{
    memset(&rStatus, 0, sizeof rStatus);
    if (!lpszFileName) return FALSE;
    DWORD length = ::GetFullPathNameA(lpszFileName, MAX_PATH, rStatus.m_szFullName, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        rStatus.m_szFullName[0] = '\0';
        return FALSE;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
    rStatus.m_ctime = data.ftCreationTime;
    rStatus.m_mtime = data.ftLastWriteTime;
    rStatus.m_atime = data.ftLastAccessTime;
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_attribute = data.dwFileAttributes;
    return TRUE;
}
