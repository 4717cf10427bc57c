#pragma once
// A readable listing of stored window descriptions, in UTF-8: per window a table of its units
// (entry, identifier, kind, name, parent, rectangle, state flags, event table with handler offsets),
// then each unit's details and its property block field by field. Used by formdump and by tests.

#include "runtime/form/form_description.h"

#include <string>

namespace runtime::form {

std::string list_form_description(const FormDescription& description);
// One property block, field by field (or the reason it does not read).
std::string list_property_block(KindId kind, std::span<const std::uint8_t> block);

}  // namespace runtime::form
