#pragma once

#include "engine/core/String.h"

// The Direct3D drivers' log lines at their levels.
void logD3DInformation(const CString& text);
void logD3DWarning(const CString& text);
void logD3DError(const CString& text);
