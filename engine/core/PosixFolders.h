#pragma once

// Folder checks and creation on UTF-8 paths; the one place that asks the system about folders.

bool folderExists(const char* utf8Path);

// Creates the folder and each missing parent, like mkdir -p. True when the folder exists
// afterwards, also when it existed before.
bool makeFolders(const char* utf8Path);
