// Building a package: the container that the authoring tool appends to the engine.
// Tests use the same writer to make their fixtures.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "package/project.h"

namespace kx {

struct PackageSource {
  std::string fileListIni;  // [FileListHeader] and [FileList]
  std::string settingsIni;  // [General], [Default], [Advance], [Build]
  std::string uiIni;        // [UI]
  // Content files: the line of the name list (a bare name or an author's path) and the bytes.
  std::vector<std::pair<std::string, std::string>> files;
  std::string guiText;      // the GUI description
};

// The file-list text for pictures in show order, all selected.
std::string FileListIni(const std::vector<std::string>& names);
// The package container: project container, name list, content container, GUI description.
std::string BuildPackage(const PackageSource& source);

}  // namespace kx
