#include "engine/platform/host/ClipboardSdl.h"

#include <SDL.h>

void CClipboardSdl::setText(const CString& text) {
    SDL_SetClipboardText(text.c_str());
}

CString CClipboardSdl::getText() {
    char* text = SDL_GetClipboardText();
    CString result(text ? text : "");
    SDL_free(text);
    return result;
}
