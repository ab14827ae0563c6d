// The application object: prepares the platform services the installer dialog relies on, runs
// the dialog modally as the main window and ends the application when it returns. There is no
// message loop after the dialog.
#pragma once

#include <windows.h>

#include "framework/Afx.h"

class CInstallerApp : public CWinApp {
public:
    CInstallerApp();

    // Runs the whole installer; returns FALSE so that the framework skips its message loop
    // and ends the application.
    BOOL InitInstance() override;

    // GDI+ token. GDI+ stays started for the life of the process.
    ULONG_PTR m_gdiplusToken;

    DECLARE_MESSAGE_MAP()
};

extern CInstallerApp theApp;
