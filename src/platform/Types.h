// Yes/no results of the framework layer and the updater: int, as on Windows.
#pragma once

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Dialog end codes.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
