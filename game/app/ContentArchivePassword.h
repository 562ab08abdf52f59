#pragma once

// The password with which the content archive "assets.qca" is scrambled. The build packs the
// game's content with it (tools/build-content.py reads it from this line) and the application
// mounts the archive with it.
inline constexpr char kContentArchivePassword[] =
    "kmwpzhc7r5108264)%*%3391qz47vbnmkr80210hxpla7c552619w3tgnqlv";
