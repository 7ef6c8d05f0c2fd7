// The two ways the updater deals with the catalogue main program korvan.exe.
#pragma once

#include <string>

#include "platform/Types.h"

// TRUE when no mutex of that name can be opened: the program is not running.
BOOL IsMainClosed(std::string strName);

// Starts korvan.exe from the current directory with the parameter text, or
// with no parameter at all for null. TRUE when the start was made.
BOOL LaunchMain(const char* pszParameters);
