#include "engine/video/d3d/D3DLog.h"

#include "engine/core/Logger.h"

void logD3DInformation(const CString& text) {
    CLogger::instance()->logNarrow(text, CLogger::LevelInformation);
}

void logD3DWarning(const CString& text) {
    CLogger::instance()->logNarrow(text, CLogger::LevelWarning);
}

void logD3DError(const CString& text) {
    CLogger::instance()->logNarrow(text, CLogger::LevelError);
}
