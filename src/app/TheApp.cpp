// The one application object of the updater, built before the entry point
// runs; the entry point calls its InitInstance once.
#include "app/UpdateApp.h"

CUpdateApp theApp;
