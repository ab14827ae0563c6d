// The probe's calls into DLLs, taken on first use as the installer takes its own: one function
// of a DLL the probe does not otherwise load, and one that no DLL has.
#include "framework/AfxSystemImport.inc"

    system_import version.dll, GetFileVersionInfoSizeA, 8
    system_import kernel32.dll, ProbeFunctionNoDllHas, 0
