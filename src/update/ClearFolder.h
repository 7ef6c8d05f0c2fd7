#pragma once

#include <string>

// Deletes everything below strFolder, depth-first, leaving the folder itself.
// Read-only files stay, and so do the folders that hold them. A link found
// inside is removed itself; nothing behind it is touched.
void ClearFolder(const std::string& strFolder);
