// The update writes only into the installation's own folders: a file whose
// way from the local or the backup folder leads through a link is not
// touched, since the link may point anywhere.
#pragma once

#include <string>
#include <utility>

class LinkGuard {
 public:
  explicit LinkGuard(std::string strFolder) : m_strFolder(std::move(strFolder)) {}

  // True when one of the folders between the folder text and the file
  // strRelative below it is a link. The file itself may be one: a copy
  // replaces a link, never what it leads to. The files of one sub-folder
  // come together in a listing, so the last sub-folder found free of links
  // is remembered and its next files cost no look-up.
  bool LeadsThroughLink(const std::string& strRelative);

 private:
  std::string m_strFolder;
  std::string m_strCleanSubFolder;
  bool m_bHaveClean = false;
};
