// The GDI+ flat API (Gdiplus::DllExports::Gdip*) from MinGW's headers; link gdiplus.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>
