// Files for tests: a temporary folder of one test's own, removed with everything in it when
// the test ends, and small whole-file helpers. Paths are in the ANSI code page (936).
#pragma once

#include <string>

namespace testfs {

class TempFolder {
public:
#ifdef _WIN32
    static constexpr char kSeparator = '\\';
#else
    static constexpr char kSeparator = '/';
#endif

    // A new folder under the system's temporary folder; its name holds blanks and Chinese
    // characters, so that every path below it does too.
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "\" + name ("/" in the native build on Linux)
    std::string operator/(const std::string& name) const { return m_path + kSeparator + name; }

private:
    std::string m_path;
};

bool WriteWholeFile(const std::string& path, const std::string& bytes);
// The file's bytes, or "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);  // a plain file, not a folder
// Removes a file or a folder with everything in it.
void RemoveTree(const std::string& path);
// The folder holding the running test program: build/bin, where the project's executables are.
std::string ProgramFolder();

}  // namespace testfs
