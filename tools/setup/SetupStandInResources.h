// Resource ids of the setup stand-in.
#pragma once

// The installed product's executable, carried whole (RCDATA) so that the one downloaded
// setup file is all the installation needs.
#define IDR_PRODUCT_EXE 101
