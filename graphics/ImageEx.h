// CImageEx: holds one image decoded from a PNG resource of the executable and draws all or
// part of it through GDI+.
//
// GDI+ must be started (GdiplusStartup) before the first load and stay started while any
// holder holds an image. To switch images: IsNull(); if it returns false, Unload(); then
// LoadFromResource with the new id. The holder never repaints; the caller invalidates.
#pragma once

#include <windows.h>

#include "framework/AfxGdi.h"

class CGdiPlusImage;

class CImageEx {
public:
    CImageEx() = default;
    virtual ~CImageEx();
    CImageEx(const CImageEx&) = delete;
    CImageEx& operator=(const CImageEx&) = delete;

    // Decodes the resource of type "png" with id nResourceId from hModule. False when an
    // image is already held (it stays), when there is no such resource, or when the bytes do
    // not decode; in the last case the holder keeps the undecodable image object, which
    // draws nothing, until Unload.
    bool LoadFromResource(HINSTANCE hModule, UINT nResourceId);
    // Draws source rectangle (sx, sy, sw, sh) of the image into destination rectangle
    // (dx, dy, dw, dh) on pDC, in pixels, blending its alpha over what pDC holds and scaling
    // when the sizes differ. False only when no image object is held.
    bool Draw(CDC* pDC, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    // The held image's size in pixels; 0 x 0 when the holder is empty or the image did not
    // decode.
    CSize GetSize() const;
    // True when no image object is held or the held one reports a pending GDI+ error
    // (reading it clears it).
    bool IsNull();
    // Frees the held image object, if any. Always true.
    bool Unload();

private:
    CGdiPlusImage* m_pImage = nullptr;
};
