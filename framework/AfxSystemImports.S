// The system functions the product calls from DLLs that are not KnownDLLs, each taken from the
// system folder on its first call (see AfxSystemImport.inc for how):
//   system_import DLL, FUNCTION, N
// where N is the size of the function's arguments in bytes: the number after the @ in the
// import library's symbol (i686-w64-mingw32-nm /usr/i686-w64-mingw32/lib/libNAME.a).
#include "framework/AfxSystemImport.inc"

// libcurl's Schannel back end: certificate stores, chains and names.
    system_import crypt32.dll, CertAddCertificateContextToStore, 16
    system_import crypt32.dll, CertCloseStore, 8
    system_import crypt32.dll, CertCreateCertificateChainEngine, 8
    system_import crypt32.dll, CertEnumCertificatesInStore, 8
    system_import crypt32.dll, CertFindCertificateInStore, 24
    system_import crypt32.dll, CertFindExtension, 12
    system_import crypt32.dll, CertFreeCertificateChain, 4
    system_import crypt32.dll, CertFreeCertificateChainEngine, 4
    system_import crypt32.dll, CertFreeCertificateContext, 4
    system_import crypt32.dll, CertGetCertificateChain, 32
    system_import crypt32.dll, CertGetNameStringA, 24
    system_import crypt32.dll, CertOpenStore, 20
    system_import crypt32.dll, CryptDecodeObjectEx, 32
    system_import crypt32.dll, CryptQueryObject, 44
    system_import crypt32.dll, CryptStringToBinaryA, 28
    system_import crypt32.dll, PFXImportCertStore, 12

// libcurl's random numbers.
    system_import bcrypt.dll, BCryptGenRandom, 16

// The application's start.
    system_import comctl32.dll, InitCommonControlsEx, 4

// CImage and CImageEx: decoding and drawing the pictures.
    system_import gdiplus.dll, GdipAlloc, 4
    system_import gdiplus.dll, GdipBitmapLockBits, 20
    system_import gdiplus.dll, GdipBitmapUnlockBits, 8
    system_import gdiplus.dll, GdipCreateBitmapFromFile, 8
    system_import gdiplus.dll, GdipCreateBitmapFromStream, 8
    system_import gdiplus.dll, GdipCreateFromHDC, 8
    system_import gdiplus.dll, GdipDeleteGraphics, 4
    system_import gdiplus.dll, GdipDisposeImage, 4
    system_import gdiplus.dll, GdipDrawImageRectRect, 56
    system_import gdiplus.dll, GdipFree, 4
    system_import gdiplus.dll, GdipGetImageHeight, 8
    system_import gdiplus.dll, GdipGetImagePixelFormat, 8
    system_import gdiplus.dll, GdipGetImageWidth, 8
    system_import gdiplus.dll, GdipLoadImageFromStream, 8
    system_import gdiplus.dll, GdiplusShutdown, 4
    system_import gdiplus.dll, GdiplusStartup, 12
