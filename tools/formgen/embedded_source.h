#pragma once
// Writes the C++ source that embeds the generated files in the program and implements
// app/data/embedded_data.h over them.

#include "tools/formgen/pool_source.h"

#include <filesystem>

namespace formgen {

// The object file format the assembler writes: ELF on Linux, COFF (PE) on Windows. They differ in
// how a read-only section is named and entered.
enum class ObjectFormat { Elf, Coff };

void write_embedded_source(const std::filesystem::path& output, const std::filesystem::path& form_file,
                           const std::filesystem::path& pool_file, const ConstantPool& pool,
                           ObjectFormat format = ObjectFormat::Elf);

}  // namespace formgen
