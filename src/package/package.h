// Unpacking the package appended to the saver into a private working folder under the
// user's temporary folder, and removing it again when the show or the configuration
// window ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/project.h"

namespace kx {

// The fixed files of the working folder.
inline constexpr const char* kProjectFile = "KXC.res";
inline constexpr const char* kNamesFile = "KXFilenames.res";
inline constexpr const char* kContentFile = "KXFiles.res";
inline constexpr const char* kGuiFile = "KXGUI.kui";
inline constexpr const char* kFinalFile = "KXFinal.res";

// The working folder of this process: temporary folder + base name + run number + separator.
// The first call creates it; when a folder of that name already exists (another saver
// process started at a tick count equal modulo 10000), the next free run number is taken,
// so two processes never share a folder. Later calls return the same folder.
class WorkFolder {
 public:
  WorkFolder(std::string tempFolder, std::string baseName, uint32_t tickCount);
  const std::string& Get();  // ends with the separator; "" when no folder could be made

 private:
  std::string temp_;
  std::string base_;
  int run_id_;
  std::string folder_;
  bool made_ = false;
};

// The lines of the content name list, split at CR LF (a lone LF is accepted too).
std::vector<std::string> SplitLines(const std::string& text);

struct ExtractResult {
  bool ok = false;            // the name list could be read
  std::vector<std::string> skipped;  // content names refused as unsafe
};

// Finds the package's parts and content files in the saver's file and mounts the folder on
// them (fs::MountPackage): the project container, the name list, the GUI description and
// every content file read as folder + name come from the saver's file, and nothing is
// written. Then loads the project and makes its paths absolute. Unsafe content names (see
// IsSafeContentName, or one of the fixed file names) are skipped. A file that must exist
// on disk is written when it is needed (fs::EnsureOnDisk).
ExtractResult ExtractPackage(TKXCProject& project, const std::string& sourcePath,
                             const std::string& folder);

// Deletes the files written into the folder, unmounts it and removes it (when it is empty).
void RemovePackage(const std::string& folder);

}  // namespace kx
