#include "win32/form_builder_win32.h"

#include "win32/described_window.h"

namespace kx::win32 {

std::unique_ptr<FormWindow> Win32FormBuilder::Build(const FormSpec& spec, std::string* error) {
  auto window = std::make_unique<DescribedWindow>(spec);
  if (!window->Ok()) {
    if (error) *error = window->Error();
    return nullptr;
  }
  return window;
}

}  // namespace kx::win32
