// The classes a form text may use and the properties each of them accepts, and the step that
// turns the object tree of a form text into a FormSpec: every property is checked against
// its class and applied in text order, component references are resolved by name after the
// whole form is read. A class that is not known, a property the class does not have, a value
// of the wrong kind or a child where its parent cannot hold one is an error naming the line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/form_object.h"
#include "config/form_model.h"

namespace kx {

struct DescriptionClass {
  const char* name;          // as the description writes it; matched ignoring letter case
  ControlClass cls;
  int width, height;         // the class's own size before the description sets one
  bool holds_controls;       // other controls may stand inside it
};

// The control a component name refers to (letter case ignored), or -1 for none or "".
int FindControl(const FormSpec& spec, std::string_view name);

// The twenty classes; the same table on every call.
const DescriptionClass* FindDescriptionClass(std::string_view name);
int DescriptionClassCount();
// Kept for the shape of the interface: the class table is constant, so registering is a
// no-op that may be called any number of times.
void RegisterDescriptionClasses();

struct FormSpecResult {
  bool ok = false;
  FormSpec spec;
  int error_line = 0;
  std::string message;  // "class TLabel has no property 'Colour'"
  std::string error;    // "line 14: class TLabel has no property 'Colour'"
};

// Which classes a form text may use: a description's twenty, or those and the further
// classes of the program's own windows (drop-down lists, up-down arrows, sliders, list
// views, group boxes, the file-open dialog).
enum class FormClassSet { Description, Program };

// The root becomes the window (its class must be a window class); every child a control.
FormSpecResult BuildFormSpec(const FormObject& root, FormClassSet set = FormClassSet::Description);

// Reads a rewritten form text and builds its FormSpec; errors of either step come back with
// their line.
// line_map (optional): the line of the original text for every line of `text`
// (see PrepareFormText), so that errors name the line as the description holds it.
FormSpecResult FormSpecFromText(std::string_view text, const std::vector<int>* line_map = nullptr,
                                FormClassSet set = FormClassSet::Description);

}  // namespace kx
