// tests/support/TempFolder.h over POSIX, for the native build of the portable tests.
#include "tests/support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testfs {

TempFolder::TempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                          "/test 德拉沃 XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) != nullptr)
        m_path = name.data();
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string ReadWholeFile(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return "";
    std::string bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void RemoveTree(const std::string& path)
{
    nftw(
        path.c_str(),
        [](const char* entry, const struct stat*, int, struct FTW*) { return std::remove(entry); },
        16, FTW_DEPTH | FTW_PHYS);
}

std::string ProgramFolder()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (n <= 0)
        return "";
    std::string folder(self, static_cast<size_t>(n));
    return folder.substr(0, folder.find_last_of('/'));
}

}  // namespace testfs
