#include "engine/video/JpegErrorRecovery.h"

#include <cstdint>

#include "engine/core/Logger.h"

namespace {

void logMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    CLogger::instance()->log(u"JPEG FATAL ERROR: " + CStringW(text), CLogger::LevelError);
}

void onJpegError(j_common_ptr info) {
    info->err->output_message(info);
    std::longjmp(reinterpret_cast<SJpegErrorManager*>(info->err)->recovery, 1);
}

} // namespace

jpeg_error_mgr* useJpegErrorRecovery(SJpegErrorManager* manager) {
    jpeg_error_mgr* error = jpeg_std_error(&manager->pub);
    error->error_exit = onJpegError;
    error->output_message = logMessage;
    return error;
}
