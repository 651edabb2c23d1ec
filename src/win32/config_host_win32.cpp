#include "win32/config_host_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "media/picture_decoder.h"
#include "package/picture_record.h"
#include "platform/file_system.h"
#include "win32/app.h"
#include "config/settings_dialog.h"
#include "win32/form_builder_win32.h"
#include "win32/show_window.h"

namespace kx::win32 {


std::string Win32ConfigHost::ModulePath() const { return TheApp().ModulePath; }

std::string Win32ConfigHost::FirstArgument() const { return TheApp().FirstArg; }

void Win32ConfigHost::SetApplicationTitle(const std::string& title) {
  title_ = title;
  TheApp().Title = title;
}

bool Win32ConfigHost::AskYesNo(const std::string& question) {
  return ShowMessage(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32ConfigHost::ReportError(const std::string& message) { ShowMessage(message, MB_ICONERROR | MB_OK); }

void Win32ConfigHost::ShellOpen(const std::string& target) {
  // A document of the package is opened by another program: it is written once.
  fs::EnsureOnDisk(target);
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32ConfigHost::ShowSinglePicture(const std::string& path) {
  kx::win32::ShowSinglePicture(project_, path, settings_);
}

bool Win32ConfigHost::RunSettingsDialog(SettingsDialogState& state) {
  Win32FormBuilder builder;
  SettingsDialog dialog(builder);
  std::string error;
  const bool ok = dialog.Run(state, &error);
  if (!ok && !error.empty()) ReportError(error);
  return ok;
}

bool Win32ConfigHost::LoadPicture(const std::string& path, bool picture_file, Bitmap32& out) {
  if (picture_file) {
    TProject record;
    if (!record.LoadFromFile(path) || record.Picture.Empty()) return false;
    out = std::move(record.Picture);
    return true;
  }
  std::string error;
  return LoadPictureFile(path, out, error);
}

std::string EncodeBitmapFile(const Bitmap32& b) {
  const int w = b.Width(), h = b.Height();
  const uint32_t stride = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
  const uint32_t image = stride * static_cast<uint32_t>(h);
  const uint32_t size = 54 + image;
  std::string f(size, '\0');
  auto put16 = [&](size_t at, uint32_t v) {
    f[at] = static_cast<char>(v & 0xFF);
    f[at + 1] = static_cast<char>((v >> 8) & 0xFF);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  put16(26, 1);
  put16(28, 24);
  put32(34, image);
  for (int y = 0; y < h; ++y) {
    const Pixel* row = b.Row(h - 1 - y);
    char* out = &f[54 + static_cast<size_t>(y) * stride];
    for (int x = 0; x < w; ++x) {
      out[x * 3] = static_cast<char>(row[x] & 0xFF);
      out[x * 3 + 1] = static_cast<char>((row[x] >> 8) & 0xFF);
      out[x * 3 + 2] = static_cast<char>((row[x] >> 16) & 0xFF);
    }
  }
  return f;
}

void Win32ConfigHost::SetWallpaper(const Bitmap32& picture, const std::string& bitmap_path) {
  const std::string data = EncodeBitmapFile(picture);
  FILE* f = std::fopen(bitmap_path.c_str(), "wb");
  const bool written = f && std::fwrite(data.data(), 1, data.size(), f) == data.size();
  if (f && std::fclose(f) != 0) f = nullptr;
  if (!written || !f) {
    ReportError("The wallpaper cannot be saved: the file \"" + bitmap_path + "\" cannot be written.");
    return;
  }
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegSetValueExA(key, "TileWallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(bitmap_path.c_str()), SPIF_UPDATEINIFILE);
  }
}

}  // namespace kx::win32
