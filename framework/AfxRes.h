// Constants shared by C++ code and resource scripts (windres can include this file).
#pragma once

// The help command the application object's message map may route.
#define ID_HELP 0xE146

// Dialog initialisation data: a resource of this type with the dialog template's id holds
// records that the dialog sends to its controls before OnInitDialog runs:
//   WORD control id, WORD message, DWORD byte count, the bytes;  ... ; WORD 0 ends the list.
// Each record arrives as SendDlgItemMessage(id, message, byte count, pointer to the bytes).
#define AFX_RT_DLGINIT 240

// The record message that configures a control of the "MfcEditBrowse" class. Its bytes are
// "<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>" for folder mode (no terminating NUL needed).
#define AFX_WM_INITCTRL 0x037C
