// Builds described windows as real Win32 windows.
#pragma once

#include "config/form_builder.h"

namespace kx::win32 {

class Win32FormBuilder : public FormBuilder {
 public:
  std::unique_ptr<FormWindow> Build(const FormSpec& spec, std::string* error) override;
};

}  // namespace kx::win32
