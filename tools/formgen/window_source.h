#pragma once
// Reads the declarative source of the stored windows (app/data/main_window.form.txt; its header
// describes the format) into a form description.

#include "runtime/form/form_description.h"

#include <filesystem>

namespace formgen {

// Picture fields name files of `pictures`.
runtime::form::FormDescription read_window_source(const std::filesystem::path& source,
                                                  const std::filesystem::path& pictures);

}  // namespace formgen
