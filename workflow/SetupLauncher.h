// Starting the downloaded setup program.
//
// After a successful download the install session starts the setup program once, silently,
// with the install folder chosen in the dialog, and then follows it only through the progress
// file (StagingArea.h): the launcher neither waits for the process nor reads its result.
#pragma once

#include <string>

// The setup program's command line:
//   "<setupPath>" /SILENT /VERYSILENT /SP- /noicons /DIR="<installDir>"
// The setup path is quoted, so that a path with blanks (a system without 8.3 names) cannot be
// taken for "C:\Program.exe" and the like; the install folder goes on unchanged with its
// trailing backslash, which the setup program's own parser reads literally.
std::string ComposeSetupCommandLine(const std::string& setupPath, const std::string& installDir);

// The folder the setup program starts in: the folder holding it (the staging folder), which
// exists and belongs to the installer. "" when setupPath names no folder; the process then
// inherits the caller's current folder.
std::string SetupWorkingFolder(const std::string& setupPath);

// Creates the setup process (CREATE_NEW_CONSOLE, the caller's rights and environment, no
// inherited handles) and closes its process and thread handles at once: the setup program runs
// on by itself, also after the installer ends. Returns whether the process was created; the
// install session needs no answer, a setup that never writes its progress file shows as a
// bar that stands still. An install folder of any length is passed whole; the system refuses
// a command line of 32767 characters or more (ERROR_INVALID_PARAMETER), and nothing starts.
bool StartSetupProgram(const std::string& setupPath, const std::string& installDir);
