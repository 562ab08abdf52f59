#pragma once

#include "engine/core/String.h"

// Path names inside the engine: '/' and '\\' both separate components and ':' ends a drive
// letter. A leading separator is a root, as on Linux. Nothing here touches the disk.

// The two separator characters, '/' and '\\'; a constant, so it is ready before any static
// initialiser runs.
inline constexpr char16_t pathSeparators[] = u"/\\";

bool isPathSeparator(char16_t ch);

// The root of a rooted path: a drive letter, a network server and share, or "/" for a path
// that starts with a single separator. Empty for a relative path.
CStringW getRootPart(const CStringW& path);

// The path up to and including its last '/', '\\' or ':'; empty when there is none after the
// first character.
CStringW getDirectoryPart(const CStringW& path);

// The characters after the last '.' of the last component, letter case kept; else empty.
CStringW extensionOf(const CStringW& path);

// The extension with each character lower-cased, as the loaders compare it.
CStringW lowerCaseExtensionOf(const CStringW& path);

// path expressed relative to base, which is taken as a file name unless it ends with a
// separator. Paths with different roots come back unchanged. The result uses '/'.
CStringW makeRelativePath(const CStringW& base, const CStringW& path);

// path resolved against the folder of the file base: leading "./" and "../" are consumed,
// never climbing above base's root. A rooted path comes back unchanged.
CStringW resolveRelativePath(const CStringW& base, const CStringW& path);

// The working directory of the process; empty when it cannot be read.
CStringW currentDirectory();

// The absolute, normalised form of path: a relative path is joined onto the working
// directory, then "." and ".." are resolved and '/' separates. The path need not exist.
// Empty when path is empty or the working directory cannot be read.
CStringW getFullPath(const CStringW& path);

// Whether a component of path is "..", so that joined to a folder it could climb out of it.
bool hasParentStep(const CStringW& path);

// path with every '\\' replaced by '/'.
CStringW withForwardSlashes(const CStringW& path);

// The UTF-8 name the operating system sees: every '\\' becomes '/'.
CString toDiskPath(const CStringW& path);
