#pragma once

#include <png.h>

// What the PNG decoder and encoder hand libpng: errors go to the log and back to the recovery
// point of png_jmpbuf, bytes come from and go to the engine's files.

enum class EPngResult { Done, LibraryError, ImageFailure, RowsFailure };

// The error function of png_create_read_struct and png_create_write_struct.
void onPngError(png_structp png, png_const_charp message);
// For png_set_read_fn with an IInputFile as the io pointer; a short read is a libpng error.
void readPngFromFile(png_structp png, png_bytep data, png_size_t length);
// For png_set_write_fn with an IOutputFile as the io pointer; a short write is a libpng error.
void writePngToFile(png_structp png, png_bytep data, png_size_t length);
void flushPngFile(png_structp png);
