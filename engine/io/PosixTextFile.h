#pragma once

#include "engine/core/String.h"

// Reads a small text file whole, including the files of /proc, whose size is only known once
// read. False when the file cannot be read or is larger than a megabyte.
bool readSmallTextFile(const char* path, CString& text);
