// CFile: a file handle owner with the few operations the product needs.
//
// Failures are results, never exceptions: Open, Remove and GetStatus return FALSE and leave
// GetLastError() set by the system.
#pragma once

#include <windows.h>

struct CFileStatus {
    FILETIME m_ctime;        // creation
    FILETIME m_mtime;        // last write
    FILETIME m_atime;        // last access
    ULONGLONG m_size;        // bytes
    DWORD m_attribute;       // FILE_ATTRIBUTE_*
    char m_szFullName[MAX_PATH];
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,     // create, or truncate an existing file ...
        modeNoTruncate = 0x2000, // ... unless this is given too
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags);
    void Close();
    // Bytes read (0 at the end or on error).
    UINT Read(void* lpBuf, UINT nCount);
    BOOL Write(const void* lpBuf, UINT nCount);
    ULONGLONG GetLength() const;
    operator HANDLE() const { return m_hFile; }

    // The status of an existing file; FALSE when it does not exist or its full path does not
    // fit in MAX_PATH - 1 characters.
    static BOOL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    static BOOL Remove(LPCSTR lpszFileName) { return ::DeleteFileA(lpszFileName); }
    static BOOL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
    {
        return ::MoveFileA(lpszOldName, lpszNewName);
    }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
