#include "config/config_window.h"

#include <algorithm>

#include "config/text_util.h"

namespace kx {
namespace {

bool Clickable(ControlClass c) {
  switch (c) {
    case ControlClass::Label:
    case ControlClass::ClickShape:
    case ControlClass::Panel:
    case ControlClass::Bevel:
    case ControlClass::Image:
    case ControlClass::Preview:
    case ControlClass::BitBtn:
    case ControlClass::ImageButton:
      return true;
    default:
      return false;
  }
}

// The position p whose decimal text is exactly `key` ("007" names none), or -1.
int PositionOfKey(const std::string& key, int count) {
  if (key.empty() || key.size() > 10 || (key[0] == '0' && key.size() > 1)) return -1;
  int64_t v = 0;
  for (char c : key) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v < count ? static_cast<int>(v) : -1;
}

}  // namespace

ConfigWindow::ConfigWindow(ConfigController& controller, FormSpec spec, std::unique_ptr<FormWindow> window,
                           bool save_on_close)
    : controller_(controller), spec_(std::move(spec)), window_(std::move(window)), save_on_close_(save_on_close) {}

int ConfigWindow::PictureCount() const { return static_cast<int>(controller_.Pictures().size()); }

void ConfigWindow::LoadPictureIndex() {
  const std::string stored = controller_.LoadPictureIndex();
  const int p = PositionOfKey(stored, PictureCount());
  if (p >= 0) picture_index_ = p;
}

void ConfigWindow::LoadCheckedPictures(int grid) {
  const int count = PictureCount();
  for (int p = 0; p < count; ++p) window_->GridSetChecked(grid, p, true);
  for (const std::string& key : controller_.LoadUncheckedKeys()) {
    const int p = PositionOfKey(key, count);
    if (p >= 0) window_->GridSetChecked(grid, p, false);
  }
}

void ConfigWindow::ShowInPreviews(int p) {
  const std::string& path = controller_.Pictures()[static_cast<size_t>(p)];
  for (size_t i = 0; i < spec_.controls.size(); ++i) {
    if (spec_.controls[i].cls != ControlClass::Preview) continue;
    try {
      window_->PreviewLoadFile(static_cast<int>(i), path);
      window_->PreviewRedraw(static_cast<int>(i));
    } catch (const std::exception& e) {
      controller_.Host().ReportError(e.what());
    }
  }
}

void ConfigWindow::FormShow() {
  LoadPictureIndex();
  const std::vector<std::string>& pictures = controller_.Pictures();
  for (size_t i = 0; i < spec_.controls.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    const int id = static_cast<int>(i);
    // A control that fails to prepare is left as it is; the next one is still prepared.
    try {
      if (c.cls == ControlClass::Edit) window_->SetReadOnly(id, false);
      if (Clickable(c.cls)) window_->BindClick(id);
      if (c.cls == ControlClass::PageControl) window_->RepaintActivePage(id);
      if (c.cls == ControlClass::Thumbnail) {
        window_->GridSetFiles(id, pictures);
        LoadCheckedPictures(id);
        window_->GridBindSelectItem(id);
        window_->GridRepaint(id);
        const int cols = std::max(1, window_->GridColCount(id));
        window_->GridSelectCell(id, picture_index_ % cols, picture_index_ / cols);
      }
      if (c.cls == ControlClass::Preview && !pictures.empty()) window_->PreviewLoadFile(id, pictures[0]);
      if (c.cls != ControlClass::TabSheet && c.cls != ControlClass::Timer) window_->SetVisible(id, (c.tag & 1) != 0);
    } catch (...) {
    }
  }
  if (!pictures.empty()) SelectPicture(picture_index_);  // loads it into every preview
}

void ConfigWindow::SelectPicture(int p) {
  const int count = PictureCount();
  if (p >= count) p = count - 1;
  if (p < 0) p = 0;
  picture_index_ = p;
  if (count > 0) ShowInPreviews(p);
}

void ConfigWindow::RunAction(int control) {
  if (control < 0 || control >= static_cast<int>(spec_.controls.size())) return;
  const TKXForm* form = controller_.Forms().FindForm(spec_.window.name);
  if (!form) return;
  const TAction* action = form->Actions.Find(spec_.controls[static_cast<size_t>(control)].name);
  if (!action) return;
  auto substitute = [&](const std::string& param) {
    std::vector<std::string> lines = cfgtext::SplitLines(param);
    for (std::string& l : lines) l = controller_.SubstitutePlaceholders(l);
    return cfgtext::JoinLines(lines, false);
  };
  const std::string param1 = substitute(action->Param1);
  const int count = PictureCount();
  switch (static_cast<uint8_t>(action->Code & 0xFF)) {
    case kActionOpenUrl:
      controller_.Host().ShellOpen(param1);
      break;
    case kActionShowWindow:
      controller_.OpenDescribedForm(param1, true);
      break;
    case kActionNextPicture:
      SelectPicture(picture_index_ + 1);
      break;
    case kActionPreviousPicture:
      SelectPicture(picture_index_ - 1);
      break;
    case kActionPreviewSelected:
      if (count > 0) controller_.Host().ShowSinglePicture(controller_.Pictures()[static_cast<size_t>(picture_index_)]);
      break;
    case kActionOpenSetting:
      controller_.RunSettingsDialog();
      break;
    case kActionCloseWindow:
      window_->Close();
      break;
    case kActionSetWallpaper:
      controller_.SetPictureAsWallpaper(picture_index_);
      break;
    default:
      break;
  }
}

void ConfigWindow::FormClose() {
  if (!save_on_close_) return;
  try {
    const int count = PictureCount();
    // The unchecked pictures of the last thumbnail grid; none: [Files] stays as stored.
    bool has_grid = false;
    std::vector<int> unchecked;
    for (size_t i = 0; i < spec_.controls.size(); ++i) {
      if (spec_.controls[i].cls != ControlClass::Thumbnail) continue;
      has_grid = true;
      unchecked.clear();
      for (int p = 0; p < count; ++p)
        if (!window_->GridChecked(static_cast<int>(i), p)) unchecked.push_back(p);
    }
    controller_.SaveWindowState(count > 0 ? picture_index_ : 0, has_grid ? &unchecked : nullptr);
  } catch (...) {
  }
}

}  // namespace kx
