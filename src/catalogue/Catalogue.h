// The message catalogue: key=text lines from translations/velmor_0N.ini,
// loaded once, looked up by key.
#pragma once

#include <map>
#include <string>

using Catalogue = std::map<std::string, std::string>;

// The process-wide catalogue.
Catalogue& TheCatalogue();

// Loads velmor_01.ini for kind 1, velmor_00.ini for every other kind, from
// the translations folder below strLocalDir. A missing file leaves it empty.
void LoadCatalogue(int nKind, const std::string& strLocalDir);

// The text of key, with every "\n" escape turned into CR LF; an absent key
// is added with the empty text.
std::string GetCatalogueText(const std::string& strKey);

// The text of "IDC_APLNAME" with its first "%s" replaced by strVersion and
// "%%" by "%"; every other character stays as it is.
std::string FormatTitle(const std::string& strVersion);
