// The seam between the window logic and the platform. A FormBuilder turns a FormSpec into a
// real window with real controls; the FormWindow it returns is what the logic drives
// afterwards. Controls are addressed by their index in FormSpec::controls.
//
// What a builder must do for each class (ControlClass):
//   ConfigWindow/Form  top-level window: caption, colour, font, client size (when given, else
//                      width and height), frame of WindowSpec::frame (centred, maximised),
//                      scaled from WindowSpec::pixels_per_inch to the monitor's density
//   Label              static text: caption, alignment, layout, word wrap, auto size,
//                      transparent background (else colour), font
//   Image, Preview     picture: decoded PictureData, stretch, centre, auto size, transparent
//   Thumbnail          thumbnail grid (picture size, check boxes, titles, rows, colour)
//   ImageButton        skinned button: four PictureData faces, caption, auto size, down state
//   BitBtn, Button     push button (BitBtn with its glyph bitmap, num_glyphs)
//   CheckBox           check box: caption, checked, font, colour
//   Edit, Memo         text boxes: text, read-only, border, colour, font, word wrap (memo)
//   Panel              container with bevels: colour, caption, inner and outer bevel
//   PageControl        tabbed container; TabSheet children are its pages (caption,
//                      tab_visible), active_page names the page shown first
//   Shape, ClickShape  rectangle/square/rounded/ellipse/circle with pen and brush
//   Bevel              lowered or raised box, frame or line
//   Timer              a timer with Enabled and Interval and no handler
// and, in the program's own windows:
//   ComboBox           drop-down list: items, item index
//   UpDown             up-down arrows stepping the edit box they are associated with,
//                      kept within min..max; a typed value stays as typed
//   TrackBar           slider: min, max, position, ticks
//   ListView           report view with its columns, grid lines, whole-row selection
//   GroupBox           framed container with a caption
//   OpenDialog         the file-open dialog (filter and options), run by RunOpenDialog
// Enter clicks the bound default button and Escape the bound cancel button.
// Every control: position and size inside its parent, align, visible, enabled, cursor, hint.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/form_model.h"

namespace kx {

// What a built window reports back to the logic.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void OnFormShow() = 0;                      // once, when the window is shown
  virtual void OnFormClose() = 0;                     // once, when it closes
  virtual void OnControlClick(int control) = 0;       // only for controls passed to BindClick
  virtual void OnSelectItem(int grid, int index) = 0; // only for grids passed to GridBindSelectItem
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;  // frees the window and all its controls

  // Shows the window modally over the active window: calls events.OnFormShow(), handles
  // messages until the window closes, calls events.OnFormClose(), then returns.
  virtual void ShowModal(FormEvents& events) = 0;
  virtual void Close() = 0;

  virtual void SetVisible(int control, bool visible) = 0;
  virtual void SetReadOnly(int control, bool read_only) = 0;
  virtual void BindClick(int control) = 0;
  virtual void RepaintActivePage(int page_control) = 0;

  // Thumbnail grid. GridSelectCell selects like a click does and so raises OnSelectItem
  // (with the grid's clamping of the index) when it is bound.
  virtual void GridSetFiles(int grid, const std::vector<std::string>& files) = 0;
  virtual int GridColCount(int grid) const = 0;
  virtual void GridSetChecked(int grid, int picture, bool checked) = 0;
  virtual bool GridChecked(int grid, int picture) const = 0;
  virtual void GridBindSelectItem(int grid) = 0;
  virtual void GridRepaint(int grid) = 0;
  virtual void GridSelectCell(int grid, int col, int row) = 0;

  // Picture preview.
  virtual void PreviewLoadFile(int preview, const std::string& path) = 0;
  virtual void PreviewRedraw(int preview) = 0;

  // The values of standard controls: check boxes (Checked), drop-down lists (ItemIndex),
  // edit boxes (Text), up-down arrows and sliders (Position).
  virtual bool Checked(int control) const = 0;
  virtual void SetChecked(int control, bool checked) = 0;
  virtual int ItemIndex(int control) const = 0;
  virtual void SetItemIndex(int control, int index) = 0;
  virtual std::string Text(int control) const = 0;
  virtual void SetText(int control, const std::string& text) = 0;
  virtual int Position(int control) const = 0;
  virtual void SetPosition(int control, int position) = 0;
  virtual void SetEnabled(int control, bool enabled) = 0;

  // List view: the first column of every row, top to bottom.
  virtual std::vector<std::string> ListRows(int list) const = 0;
  virtual void ListAddRow(int list, const std::string& caption) = 0;
  virtual void ListDeleteRow(int list, int row) = 0;
  virtual int ListSelectedRow(int list) const = 0;  // -1: none

  // Runs a file-open dialog component: the chosen file's full path, nothing when cancelled.
  virtual std::optional<std::string> RunOpenDialog(int dialog) = 0;
};

class FormBuilder {
 public:
  virtual ~FormBuilder() = default;
  // Builds the window and every control in FormSpec order (a parent before its children);
  // nullptr with a message when it cannot.
  virtual std::unique_ptr<FormWindow> Build(const FormSpec& spec, std::string* error) = 0;
};

}  // namespace kx
