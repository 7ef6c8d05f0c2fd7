#pragma once

#include <string>

#include "update/FileList.h"

// Appends the full path of every file below strFolder, depth-first, leaving
// out the updater's own executables ("velmor.exe", "velmor2.exe" anywhere in
// the lower-cased path). Links to folders are not descended into. 1 when the
// folder could be opened for listing, 0 when not (nothing appended).
int CollectFiles(std::string strFolder, FileList& list);
