#pragma once
// SHA-256 of a block of bytes, as lower-case hexadecimal: how the driver prints byte-set properties.

#include <cstdint>
#include <span>
#include <string>

namespace drive {

std::string sha256_hex(std::span<const std::uint8_t> bytes);

}  // namespace drive
