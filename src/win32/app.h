// Process-wide start-up state of the saver, set once in WinMain and read by the modes.
#pragma once

#include <string>

#include "package/package.h"
#include "package/project.h"
#include "package/user_settings.h"

namespace kx::win32 {

struct App {
  std::string ModulePath;   // the saver's own path, long form
  std::string BaseName;     // its file-name part cut before the first "."
  std::string Switch;       // first argument, upper-cased, first two characters
  std::string FirstArg;     // first argument, upper-cased, whole
  std::string WindowArg;    // second argument, upper-cased
  TKXCProject Project;
  UserSettingsLocation Settings;
  WorkFolder* Work = nullptr;  // created by PrepareSaver
  std::string Title;        // the application title: the caption of its message boxes

  // Extracts the package and loads the project. False (after telling the user when
  // `report` is set) when the package cannot be read; the working folder is removed then.
  bool PrepareSaver(bool report);
  void RemovePackage();
};

App& TheApp();

// The mode routines.
void RunShowMode();
void RunConfigMode();
void RunPreviewMode();
void RunPasswordMode();

// Parses a decimal window handle; false for anything that is not a plain number.
bool ParseWindowHandle(const std::string& text, unsigned long long& value);

// A message box over no window, with the application's blank caption; the button pressed.
// A message box captioned with the application title (a blank until one is set).
int ShowMessage(const std::string& text, unsigned flags);
const char* MessageCaption();

}  // namespace kx::win32
