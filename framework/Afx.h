// The framework in one include: the MFC-shaped layer over Win32 that the product's window
// classes build on. See framework/README.md.
#pragma once

#include "framework/AfxApp.h"
#include "framework/AfxControls.h"
#include "framework/AfxCore.h"
#include "framework/AfxDialog.h"
#include "framework/AfxEditBrowse.h"
#include "framework/AfxFile.h"
#include "framework/AfxGdi.h"
#include "framework/AfxImage.h"
#include "framework/AfxRes.h"
#include "framework/AfxString.h"
#include "framework/AfxTypes.h"
#include "framework/AfxWnd.h"
