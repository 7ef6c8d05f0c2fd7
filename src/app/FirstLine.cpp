#include "app/UpdateApp.h"
#include "platform/TextFile.h"

std::string ReadFirstLine(std::string strPath) {
  // Read sharing granted: clients that start at the same moment against one
  // server folder must all read the server stamp, none an empty one.
  return ReadFirstLineOf(strPath, platform::FileShare::Read);
}
