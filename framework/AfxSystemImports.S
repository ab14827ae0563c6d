// Imports taken from the system folder only, on first use.
//
// A program started from a downloads folder would load a DLL planted beside it for every import
// its table names, unless Windows always takes that DLL from the system folder (KnownDLLs). The
// DLLs below are not such, so the executable does not import them: each function listed here is
// defined in this file under the names an import library gives it,
//
//   __imp__Name@N   the pointer every call goes through
//   _Name@N         a jump through that pointer, for callers that do not call through it
//
// and the pointer first leads to a stub that has AfxResolveSystemImport load the DLL with
// LoadLibraryExA(..., LOAD_LIBRARY_SEARCH_SYSTEM32), look the function up and store its address
// in the pointer; the stub then jumps on to the function with the caller's arguments untouched.
// Later calls go straight to the function.
//
// Linked into the executable as objects, these definitions come before the import libraries, so
// the linker takes no member from those for a function listed here. A function that is missing
// here still links, from its import library, and the test of the executable's import table
// names its DLL. N is the size of the arguments in bytes: the number after the @ in the import
// library's symbol (i686-w64-mingw32-nm /usr/i686-w64-mingw32/lib/libNAME.a).

    .macro system_import dll, name, bytes
    .data
    .p2align 2
    .globl __imp__\name\()@\bytes
__imp__\name\()@\bytes:
    .long resolve_\name

    .text
    .globl _\name\()@\bytes
_\name\()@\bytes:
    jmp *__imp__\name\()@\bytes
resolve_\name:
    pushl $__imp__\name\()@\bytes
    pushl $names_\name
    jmp resolve_common

    .section .rdata,"dr"
names_\name:
    .asciz "\dll"
    .asciz "\name"
    .endm

    .text
// Stack on entry: the names, the pointer, the caller's return address, the caller's arguments.
// Only ecx and edx need keeping beside what the C function keeps itself; the function's address
// comes back in eax.
resolve_common:
    pushl %ecx
    pushl %edx
    pushl 12(%esp)                  // the pointer
    pushl 12(%esp)                  // the names
    call _AfxResolveSystemImport
    addl $8, %esp
    popl %edx
    popl %ecx
    addl $8, %esp                   // back to the caller's return address
    jmp *%eax

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
