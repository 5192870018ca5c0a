#include "PngErrors.h"

extern "C" void pngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

extern "C" void pngWarn(png_structp, png_const_charp) {}
