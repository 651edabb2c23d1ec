#include "package/package_writer.h"

#include "package/container.h"

namespace kx {

std::string FileListIni(const std::vector<std::string>& names) {
  std::string s = "[FileListHeader]\r\nHeader=1\r\n[FileList]\r\n";
  for (const std::string& n : names) s += n + "=1\r\n";
  return s;
}

std::string BuildPackage(const PackageSource& source) {
  std::string nameList;
  std::vector<std::string> contents;
  for (const auto& [name, bytes] : source.files) {
    nameList += name + "\r\n";
    contents.push_back(bytes);
  }
  const std::string project =
      WriteContainer({source.fileListIni, source.settingsIni, source.uiIni});
  return WriteContainer({project, nameList, WriteContainer(contents), source.guiText});
}

}  // namespace kx
