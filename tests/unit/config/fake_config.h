// A recording FormBuilder / FormWindow / ConfigHost for the window logic tests. The fake
// window runs a script of clicks between showing and closing, the way a user would.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/config_host.h"
#include "config/form_builder.h"

namespace kx::test {

class FakeWindow;

struct FakeWorld {
  // What happened, in order: "open MainWindow", "show MainWindow", "close MainWindow",
  // "shell http://...", "single C:\\p\\b.jpg", "error ...", "title ...", "ask ...".
  std::vector<std::string> log;
  std::string module_path = "C:\\Saver\\Garden.scr";
  std::string first_argument = "/c";
  bool answer_yes = true;
  // Run while a window named by the key is shown; it acts on that window.
  std::map<std::string, std::function<void(FakeWindow&)>> scripts;
  std::function<bool(SettingsDialogState&)> settings_dialog;
  std::vector<std::string> loaded_pictures;
  std::vector<std::pair<Bitmap32, std::string>> wallpapers;
  std::vector<FakeWindow*> open_windows;
  std::optional<std::string> open_dialog_answer;  // what a file-open dialog returns
  std::set<std::string> unreadable_pictures;      // a preview cannot load these
};

class FakeWindow : public FormWindow {
 public:
  FakeWindow(FakeWorld& world, const FormSpec& spec) : world_(world), spec(spec) {
    visible.resize(spec.controls.size(), true);
    read_only.resize(spec.controls.size(), false);
    for (size_t i = 0; i < spec.controls.size(); ++i) {
      visible[i] = spec.controls[i].visible;
      read_only[i] = spec.controls[i].read_only;
    }
    clickable.resize(spec.controls.size(), false);
    previews.resize(spec.controls.size());
    for (const ControlSpec& c : spec.controls) {
      Value v;
      v.checked = c.checked;
      v.item_index = c.item_index;
      v.text = c.text;
      v.position = c.position;
      v.enabled = c.enabled;
      values.push_back(v);
    }
  }
  ~FakeWindow() override { world_.log.push_back("free " + spec.window.name); }

  void ShowModal(FormEvents& events) override {
    events_ = &events;
    world_.open_windows.push_back(this);
    world_.log.push_back("show " + spec.window.name);
    events.OnFormShow();
    auto it = world_.scripts.find(spec.window.name);
    if (it != world_.scripts.end()) it->second(*this);
    world_.log.push_back("close " + spec.window.name);
    events.OnFormClose();
    world_.open_windows.pop_back();
    events_ = nullptr;
  }
  void Close() override { closed = true; world_.log.push_back("Close() " + spec.window.name); }
  void SetVisible(int c, bool v) override { visible.at(c) = v; }
  void SetReadOnly(int c, bool r) override { read_only.at(c) = r; }
  void BindClick(int c) override { clickable.at(c) = true; }
  void RepaintActivePage(int) override {}
  void GridSetFiles(int, const std::vector<std::string>& f) override { grid_files = f; checked.assign(f.size(), false); }
  int GridColCount(int) const override { return grid_cols; }
  void GridSetChecked(int, int p, bool c) override {
    if (p >= 0 && p < static_cast<int>(checked.size())) checked[p] = c;
  }
  bool GridChecked(int, int p) const override { return checked.at(p); }
  void GridBindSelectItem(int) override { grid_bound = true; }
  void GridRepaint(int) override {}
  void GridSelectCell(int grid, int col, int row) override {
    selected_cell = {col, row};
    int index = row * grid_cols + col;
    const int count = static_cast<int>(grid_files.size());
    if (index > count - 1) index = count - 1;
    if (index < 0) index = 0;
    if (grid_bound && events_) events_->OnSelectItem(grid, index);
  }
  // As a preview does: a picture it cannot read leaves the one shown before and fails.
  void PreviewLoadFile(int c, const std::string& path) override {
    if (world_.unreadable_pictures.count(path)) throw std::runtime_error("cannot read " + path);
    previews.at(c) = path;
  }
  void PreviewRedraw(int) override {}
  bool Checked(int c) const override { return values.at(c).checked; }
  void SetChecked(int c, bool v) override { values.at(c).checked = v; }
  int ItemIndex(int c) const override { return values.at(c).item_index; }
  void SetItemIndex(int c, int i) override { values.at(c).item_index = i; }
  std::string Text(int c) const override { return values.at(c).text; }
  void SetText(int c, const std::string& t) override { values.at(c).text = t; }
  int Position(int c) const override { return values.at(c).position; }
  void SetPosition(int c, int p) override { values.at(c).position = p; }
  void SetEnabled(int c, bool e) override { values.at(c).enabled = e; }
  std::vector<std::string> ListRows(int c) const override { return values.at(c).rows; }
  void ListAddRow(int c, const std::string& r) override { values.at(c).rows.push_back(r); }
  void ListDeleteRow(int c, int row) override {
    auto& rows = values.at(c).rows;
    rows.erase(rows.begin() + row);
    values.at(c).selected = -1;
  }
  int ListSelectedRow(int c) const override { return values.at(c).selected; }
  std::optional<std::string> RunOpenDialog(int c) override {
    world_.log.push_back("open dialog " + spec.controls.at(c).filter);
    return world_.open_dialog_answer;
  }

  // Test helpers.
  int Find(const std::string& name) const {
    for (size_t i = 0; i < spec.controls.size(); ++i)
      if (spec.controls[i].name == name) return static_cast<int>(i);
    return -1;
  }
  void Click(const std::string& name) {
    const int c = Find(name);
    if (c >= 0 && clickable[c] && values[c].enabled && events_) events_->OnControlClick(c);
  }
  void ClickCell(int index) { GridSelectCell(Find("Grid"), index % grid_cols, index / grid_cols); }

  // A standard control's value as the user left it.
  struct Value {
    bool checked = false;
    int item_index = -1;
    std::string text;
    int position = 0;
    bool enabled = true;
    std::vector<std::string> rows;
    int selected = -1;
  };
  Value& V(const std::string& name) { return values.at(Find(name)); }

  FakeWorld& world_;
  FormSpec spec;
  std::vector<Value> values;
  FormEvents* events_ = nullptr;
  std::vector<bool> visible, read_only, clickable;
  std::vector<std::string> previews;
  std::vector<std::string> grid_files;
  std::vector<bool> checked;
  bool grid_bound = false;
  int grid_cols = 4;
  std::pair<int, int> selected_cell{-1, -1};
  bool closed = false;
};

class FakeBuilder : public FormBuilder {
 public:
  explicit FakeBuilder(FakeWorld& w) : world_(w) {}
  std::unique_ptr<FormWindow> Build(const FormSpec& spec, std::string*) override {
    world_.log.push_back("open " + spec.window.name);
    last_spec = spec;
    return std::make_unique<FakeWindow>(world_, spec);
  }
  FormSpec last_spec;

 private:
  FakeWorld& world_;
};

class FakeHost : public ConfigHost {
 public:
  explicit FakeHost(FakeWorld& w) : w_(w) {}
  std::string ModulePath() const override { return w_.module_path; }
  std::string FirstArgument() const override { return w_.first_argument; }
  void SetApplicationTitle(const std::string& t) override { w_.log.push_back("title " + t); }
  bool AskYesNo(const std::string& q) override {
    w_.log.push_back("ask " + q);
    return w_.answer_yes;
  }
  void ReportError(const std::string& m) override { w_.log.push_back("error " + m); }
  void ShellOpen(const std::string& t) override { w_.log.push_back("shell " + t); }
  void ShowSinglePicture(const std::string& p) override { w_.log.push_back("single " + p); }
  bool RunSettingsDialog(SettingsDialogState& s) override {
    w_.log.push_back(std::string("settings dialog ok=") + (s.ok_enabled ? "1" : "0"));
    return w_.settings_dialog ? w_.settings_dialog(s) : false;
  }
  bool LoadPicture(const std::string& path, bool picture_file, Bitmap32& out) override {
    w_.loaded_pictures.push_back(path + (picture_file ? " (picture file)" : " (general)"));
    out.SetSize(4, 3);
    return true;
  }
  void SetWallpaper(const Bitmap32& b, const std::string& path) override { w_.wallpapers.emplace_back(b, path); }

 private:
  FakeWorld& w_;
};

}  // namespace kx::test
