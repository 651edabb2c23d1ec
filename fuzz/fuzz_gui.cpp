// The GUI description: the file's forms and action lists, each form text prepared and read by
// the form-text reader, and the form builder's resolution step (classes, properties, names),
// with the description's classes and with those of the program's own windows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/description_classes.h"
#include "config/form_text_reader.h"
#include "config/kx_form.h"
#include "config/kx_forms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kx::TKXForms forms;
  std::string error;
  forms.LoadFromText(text, &error);
  for (size_t i = 0; i < forms.Count(); ++i) {
    const kx::TKXForm& form = forms.Form(i);
    forms.FindForm(form.Name);
    std::vector<int> map;
    const std::string prepared = kx::PrepareFormText(form, &map);
    kx::FormSpecFromText(prepared, &map, kx::FormClassSet::Description);
    kx::FormSpecFromText(prepared, nullptr, kx::FormClassSet::Program);
  }
  // A form text on its own.
  kx::FormTextReader::Read(text);
  kx::FormSpecFromText(text);
  return 0;
}
