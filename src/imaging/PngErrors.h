#pragma once
// libpng's error and warning handlers for the library's readers and writers: an error
// jumps back to the setjmp of the one function that drives libpng, and nothing is
// printed; the caller learns of failures from the result.

#include <png.h>

extern "C" void pngFail(png_structp png, png_const_charp message);
extern "C" void pngWarn(png_structp png, png_const_charp message);
