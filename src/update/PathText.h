// How the update builds paths from folder texts, walking characters of the
// ANSI code page so that a trail byte 0x5C never counts as a separator.
#pragma once

#include <string>

// The path of entry name found in folder: folder, then the separator unless
// folder already ends in one, then name. A folder text passed with its final
// separator therefore begins every path built from it, exactly as passed.
std::string EntryPath(const std::string& strFolder, const std::string& strName);
