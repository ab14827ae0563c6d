// The staging folder and the install progress file.
//
// The installer keeps the downloaded setup program and the progress file in one folder under
// the user's roaming application-data folder. A worker makes the folder (EnsureDirectory),
// empties the progress file (ResetProgressFile) and downloads the setup file into it; the setup
// program then writes its progress into the file from its own process, and the user-interface
// thread reads it once a second (ReadInstallPercent, ReadInstallState) until the state is
// "finish".
//
// Paths are byte strings in the system's multi-byte code page. The file names are appended
// with forward slashes to a folder path that uses backslashes; Windows takes both.
#pragma once

#include <string>

// Names appended to the staging folder.
extern const char kStagingFolderName[];  // "/dravo_download"
extern const char kSetupFileName[];      // "/dravo_com_installer.exe"
extern const char kProgressFileName[];   // "/install_progress.ini"

// The progress file's section and keys, and the state that means the setup has finished.
extern const char kProgressSection[];  // "InstallProgress"
extern const char kPercentKey[];       // "Percent"
extern const char kStateKey[];         // "state"
extern const char kFinishState[];      // "finish"

// The staging folder: the 8.3 form of the roaming application-data folder followed by
// "/dravo_download". The setup program computes the same path, so both sides must agree.
std::string GetDownloadDir();

// The staging folder below a given roaming folder (the folder need not be the user's):
// its short form + "/dravo_download"; the long form where the short one cannot be had;
// "/dravo_download" alone (the root of the current drive) when roamingFolder is empty.
std::string DownloadDirFor(const std::string& roamingFolder);

std::string SetupFilePath(const std::string& downloadDir);     // + "/dravo_com_installer.exe"
std::string ProgressFilePath(const std::string& downloadDir);  // + "/install_progress.ini"

// True when path names an existing folder; a trailing separator ("C:\dir\") is allowed.
bool IsDirectory(const std::string& path);

// Makes one folder level (the parent must exist). True when path is a folder afterwards,
// whether it was made now, already existed, or was made by someone else meanwhile; false when
// it cannot be made or the name is taken by a plain file.
bool EnsureDirectory(const std::string& path);

// Leaves an empty progress file at path, so that a state left over from an earlier run can
// never end a new installation. A leftover that cannot be deleted (another process holds it
// open) is emptied in place. Returns whether the file exists and is empty afterwards; the
// install session goes on either way.
bool ResetProgressFile(const char* path);

// The setup's progress as written under "Percent": found with the platform's profile rules
// (names match whatever their letter case; a missing file, section or key reads 0), its text
// (at most 31 bytes of it) read by ParseInstallPercent.
int ReadInstallPercent(const std::string& progressFile);

// The leading decimal integer of a "Percent" text: blanks and tabs before it are skipped, a
// sign may come first, whatever follows the digits is ignored ("42abc" is 42); no digits read
// 0, and a number beyond int's range reads as INT_MAX or INT_MIN. The setup writes 0 to 100;
// the session keeps the bar within its range whatever comes.
int ParseInstallPercent(const std::string& text);

// The text under "state" (at most 255 bytes, enclosing quotation marks removed), or "" when the
// file, section or key is missing.
std::string ReadInstallState(const std::string& progressFile);

// Only "finish" exactly, byte for byte, means the setup has finished.
bool IsInstallFinished(const std::string& state);
