// CFile on real files in the Wine prefix: status, create and truncate, remove.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/AfxFile.h"

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        m_dir = std::string(temp) + "cfile_" + std::to_string(::GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(::CreateDirectoryA(m_dir.c_str(), nullptr));
    }
    void TearDown() override
    {
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA((m_dir + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do ::DeleteFileA((m_dir + "\\" + found.cFileName).c_str());
            while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(m_dir.c_str());
    }
    std::string Path(const char* name) const { return m_dir + "\\" + name; }
    void Write(const std::string& path, const std::string& bytes)
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(file.Write(bytes.data(), static_cast<UINT>(bytes.size())));
    }
    std::string m_dir;
};

TEST_F(FileTest, GetStatusOfExistingMissingAndTooLongPaths)
{
    std::string path = Path("install_progress.ini");
    Write(path, "[InstallProgress]\r\n");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(19u, status.m_size);
    EXPECT_EQ(0, _stricmp(path.c_str(), status.m_szFullName));

    EXPECT_FALSE(CFile::GetStatus(Path("missing.ini").c_str(), status));
    EXPECT_FALSE(CFile::GetStatus(nullptr, status));
    std::string tooLong = m_dir + "\\" + std::string(300, 'x');
    EXPECT_FALSE(CFile::GetStatus(tooLong.c_str(), status));
}

TEST_F(FileTest, CreateTruncatesUnlessToldNotTo)
{
    std::string path = Path("德拉沃.ini");  // a Chinese name in code page 936
    Write(path, "0123456789");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate |
                                                CFile::modeWrite));
        EXPECT_EQ(10u, file.GetLength());
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));  // 0x1001
        EXPECT_EQ(0u, file.GetLength());
    }
    CFile reader;
    ASSERT_TRUE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    char byte;
    EXPECT_EQ(0u, reader.Read(&byte, 1));
}

TEST_F(FileTest, OpenWithoutCreateNeedsTheFile)
{
    CFile file;
    EXPECT_FALSE(file.Open(Path("missing.ini").c_str(), CFile::modeRead));
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
    EXPECT_EQ(INVALID_HANDLE_VALUE, file.m_hFile);
}

TEST_F(FileTest, RemoveReportsInsteadOfThrowing)
{
    std::string path = Path("setup.tmp");
    Write(path, "x");
    EXPECT_TRUE(CFile::Remove(path.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
    EXPECT_FALSE(CFile::Remove(path.c_str()));
}

}  // namespace
