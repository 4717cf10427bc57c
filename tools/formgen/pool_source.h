#pragma once
// Reads the declarative source of the constant pool (app/data/constants.pool.txt; its header
// describes the format) into the pool's bytes and the places of its constants.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace formgen {

struct ConstantPool {
    std::vector<std::uint8_t> bytes;
    std::size_t empty_text = 0;
    std::size_t empty_byte_set = 0;
    std::size_t song_typeface = 0;
    std::vector<std::size_t> kind_names;      // in kind order
    std::vector<std::size_t> kind_templates;  // byte set blocks, in kind order
};

// Templates name files of `pictures`.
ConstantPool read_pool_source(const std::filesystem::path& source, const std::filesystem::path& pictures);

}  // namespace formgen
