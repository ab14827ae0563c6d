// Resource ids of the graphics tests (shared by GraphicsTest.rc and the tests).
#pragma once

#define IDP_OPAQUE 177       // 700 x 500 RGB PNG (pixels: OpaquePixel in ImageExTest.cpp)
#define IDP_ALPHA 186        // the same colours with an alpha channel (AlphaOf)
#define IDP_GARBAGE 300      // a "png" resource whose bytes are not an image
#define IDB_ONLY_BITMAP 160  // a bitmap resource; no png has this id
#define ID_MISSING 999       // nothing has this id
