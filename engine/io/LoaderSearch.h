#pragma once

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IInputFile.h"
#include "engine/io/Path.h"

// The search of the image and sound loader managers: every loader that takes the file's
// lower-cased extension, in order, then every loader that recognises the file's content; a
// loader that accepts but fails does not stop the search. Each loader sees the file from its
// start. load(loader) gives the loader's result, which is empty when it fails.
template <typename Loader, typename Load>
auto loadByExtensionThenContent(const CArray<CRefPointer<Loader>>& loaders, IInputFile& file,
                                Load load) -> decltype(load(*loaders[0])) {
    const CStringW extension = lowerCaseExtensionOf(file.getName());
    for (const CRefPointer<Loader>& loader : loaders) {
        if (!loader->acceptsExtension(extension))
            continue;
        file.seekTo(0, false);
        if (auto result = load(*loader))
            return result;
    }
    for (const CRefPointer<Loader>& loader : loaders) {
        file.seekTo(0, false);
        if (!loader->acceptsContent(&file))
            continue;
        file.seekTo(0, false);
        if (auto result = load(*loader))
            return result;
    }
    return {};
}
