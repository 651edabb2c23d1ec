// kxtool inspect: prints what a saver's package holds.
#include <cstdio>

#include "commands.h"
#include "package/container.h"
#include "package/package.h"
#include "package/project.h"
#include "platform/file_system.h"

namespace kxtool {

int CmdInspect(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: kxtool inspect SAVER.scr\n");
    return 2;
  }
  std::string bytes;
  if (!kx::fs::ReadFile(args[0], bytes)) {
    std::fprintf(stderr, "kxtool inspect: cannot read %s\n", args[0].c_str());
    return 1;
  }
  const kx::MarkerPosition m = kx::FindMarkerIn(bytes);
  auto parts = kx::ReadContainerParts(bytes);
  if (!m.found || !parts) {
    std::fprintf(stderr, "kxtool inspect: %s carries no package\n", args[0].c_str());
    return 1;
  }
  std::printf("package at offset %lld, %d parts\n", static_cast<long long>(m.position - kx::kMarkerLength), m.count);
  static const char* const kNames[] = {kx::kProjectFile, kx::kNamesFile, kx::kContentFile, kx::kGuiFile};
  for (size_t i = 0; i < parts->size(); ++i)
    std::printf("  part %zu %-16s %zu bytes\n", i + 1, i < 4 ? kNames[i] : "", (*parts)[i].size());
  if (parts->size() < 4) {
    std::fprintf(stderr, "kxtool inspect: the package has fewer than four parts\n");
    return 1;
  }
  const std::vector<std::string> names = kx::SplitLines((*parts)[1]);
  auto contents = kx::ReadContainerParts((*parts)[2]);
  std::printf("content files: %zu\n", names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    long long size = contents && i < contents->size() ? static_cast<long long>((*contents)[i].size()) : -1;
    std::printf("  %-40s %lld bytes%s\n", names[i].c_str(), size, size < 0 ? " (missing)" : "");
  }
  kx::TKXCProject project;
  if (!project.LoadFromContainer((*parts)[0]))
    std::printf("project container: not a three- or four-part container; defaults apply\n");
  std::printf("pictures: %d\n", project.FileList.Count());
  for (int i = 0; i < project.FileList.Count(); ++i)
    std::printf("  %d %s %s\n", i, project.FileList.Names[i].c_str(), project.FileList.Flags[i].c_str());
  std::printf("settings:\n");
  const std::string text = project.Setting.ToIniText();
  for (const std::string& line : kx::SplitLines(text)) std::printf("  %s\n", line.c_str());
  std::printf("  [UI]\n  UIFile=%s\n", project.UISetting.UIFile.c_str());
  std::printf("GUI description: %zu bytes\n", (*parts)[3].size());
  return 0;
}

}  // namespace kxtool
