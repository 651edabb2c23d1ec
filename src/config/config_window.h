// One described window while it is open: it keeps the selected picture, binds clicks to the
// form's action list, feeds the picture previews and thumbnail grids, and stores the
// selected picture and the unchecked pictures when it closes (when it was opened to save).
#pragma once

#include <memory>
#include <string>

#include "config/config_controller.h"
#include "config/form_builder.h"
#include "config/form_model.h"

namespace kx {

class ConfigWindow : public FormEvents {
 public:
  ConfigWindow(ConfigController& controller, FormSpec spec, std::unique_ptr<FormWindow> window,
               bool save_on_close);

  void ShowModal() { window_->ShowModal(*this); }

  // 0-based position of the selected picture in the picture list.
  int PictureIndex() const { return picture_index_; }
  bool SaveOnClose() const { return save_on_close_; }

  // Clamps p to the picture list, selects it and shows it in every preview.
  void SelectPicture(int p);
  // Runs the action stored under the control's name in the form's action list.
  void RunAction(int control);

  void FormShow();
  void FormClose();

  // FormEvents
  void OnFormShow() override { FormShow(); }
  void OnFormClose() override { FormClose(); }
  void OnControlClick(int control) override { RunAction(control); }
  void OnSelectItem(int, int index) override { SelectPicture(index); }

 private:
  int PictureCount() const;
  void LoadPictureIndex();
  void LoadCheckedPictures(int grid);
  void ShowInPreviews(int p);

  ConfigController& controller_;
  FormSpec spec_;
  std::unique_ptr<FormWindow> window_;
  bool save_on_close_;
  int picture_index_ = 0;
};

}  // namespace kx
