// The update writes only inside its own folders. A folder of the local or
// backup tree that is a link (a symbolic link, a junction) leads somewhere
// else: a file below it would be backed up from, copied into or deleted in
// a folder that is not the installation's. Such a file is not updated; its
// copy counts as failed, so the update is rolled back.
#pragma once

#include <string>

// True when one of the folders between strFolder (a folder text) and the
// file strRelative below it is a link. The file itself may be one: a copy
// replaces a link, never what it leads to.
bool LeadsThroughLink(const std::string& strFolder, const std::string& strRelative);
