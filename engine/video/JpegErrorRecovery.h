#pragma once

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

// libjpeg's error manager with a recovery point: an error is logged and jumps back to the
// setjmp on recovery instead of ending the process. The frame that calls setjmp, and everything
// the decoding touches after it, holds no object with a destructor.
struct SJpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf recovery;
};

// Sets libjpeg's defaults in manager, then its logging and jumping; answers the pointer for the
// err field of the compress or decompress struct.
jpeg_error_mgr* useJpegErrorRecovery(SJpegErrorManager* manager);
