#include "app/MainControl.h"

#include "platform/Platform.h"

BOOL IsMainClosed(std::string strName) {
  // Every failure to find the mutex counts as not running.
  return platform::Current().MutexExists(strName) ? FALSE : TRUE;
}

BOOL LaunchMain(const char* pszParameters) {
  return platform::Current().StartMainProgram(pszParameters) ? TRUE : FALSE;
}
