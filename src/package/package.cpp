#include "package/package.h"

#include "package/container.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace kx {

namespace {

bool IsFixedName(const std::string& name) {
  for (const char* f : {kProjectFile, kNamesFile, kContentFile, kGuiFile, kFinalFile})
    if (EqualNoCase(name, f)) return true;
  return false;
}

// The target names of the content parts: folder + file-name part of each line, or ""
// for a line whose name may not be written.
std::vector<std::string> ContentTargets(const std::string& folder, std::vector<std::string>* skipped) {
  std::string text;
  std::vector<std::string> targets;
  if (!fs::ReadFile(folder + kNamesFile, text, UINT64_C(64) << 20)) return targets;
  for (const std::string& line : SplitLines(text)) {
    std::string name = FileNamePart(line);
    if (IsSafeContentName(name) && !IsFixedName(name)) {
      targets.push_back(folder + name);
    } else {
      targets.emplace_back();
      if (skipped) skipped->push_back(line);
    }
  }
  return targets;
}

}  // namespace

WorkFolder::WorkFolder(std::string tempFolder, std::string baseName, uint32_t tickCount)
    : temp_(std::move(tempFolder)), base_(std::move(baseName)),
      run_id_(static_cast<int>(tickCount % 10000u)) {}

const std::string& WorkFolder::Get() {
  if (made_) return folder_;
  made_ = true;
  if (!temp_.empty() && temp_.back() != '\\' && temp_.back() != '/')
    temp_ += fs::SeparatorOf(temp_);
  const char sep = fs::SeparatorOf(temp_);
  for (int tries = 0; tries < 10000; ++tries) {
    std::string f = temp_ + base_ + std::to_string(run_id_) + sep;
    if (!fs::DirectoryExists(f) && !fs::FileExists(f.substr(0, f.size() - 1)) && fs::MakeDirectory(f)) {
      folder_ = f;
      return folder_;
    }
    run_id_ = (run_id_ + 1) % 10000;
  }
  folder_.clear();
  return folder_;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  return lines;
}

ExtractResult ExtractPackage(TKXCProject& project, const std::string& sourcePath,
                             const std::string& folder) {
  ExtractResult result;
  if (folder.empty()) return result;
  // The package's four parts: project container, name list, content container, GUI text.
  const auto parts = ReadContainerIndex(sourcePath, 0, -1, 4);
  if (!parts || parts->size() < 2) return result;
  std::vector<fs::PackedFile> files;
  const char* fixed[] = {kProjectFile, kNamesFile, nullptr, kGuiFile};
  for (size_t i = 0; i < parts->size(); ++i)
    if (fixed[i]) files.push_back({fixed[i], (*parts)[i].offset, (*parts)[i].length});
  fs::MountPackage(folder, sourcePath, files);
  result.ok = true;
  // The content files, read in place from the content container.
  const std::vector<std::string> targets = ContentTargets(folder, &result.skipped);
  if (parts->size() >= 3 && !targets.empty()) {
    const PartRange content = (*parts)[2];
    const auto index = ReadContainerIndex(sourcePath, content.offset, content.offset + content.length,
                                          targets.size());
    if (index) {
      for (size_t i = 0; i < index->size(); ++i)
        if (!targets[i].empty())
          files.push_back({targets[i].substr(folder.size()), (*index)[i].offset, (*index)[i].length});
      fs::MountPackage(folder, sourcePath, files);
    }
  }
  project.LoadFromFile(folder + kProjectFile);
  for (std::string& name : project.FileList.Names) name = folder + name;
  if (!project.Setting.PreviewFile.empty())
    project.Setting.PreviewFile = folder + FileNamePart(project.Setting.PreviewFile);
  project.UISetting.UIFile = folder + kGuiFile;
  return result;
}

void RemovePackage(const std::string& folder) {
  if (folder.empty()) return;
  for (const std::string& target : ContentTargets(folder, nullptr))
    if (!target.empty()) fs::DeleteFile(target);
  for (const char* f : {kProjectFile, kContentFile, kFinalFile, kNamesFile, kGuiFile})
    fs::DeleteFile(folder + f);
  fs::UnmountPackage(folder);
  fs::RemoveDirectory(folder);
}

}  // namespace kx
