#pragma once
// Where each event handler of the certificate maker lies, counted in bytes from the code base. The
// stored main window names its handlers by these offsets; the handler table maps them back to the
// functions. The window description generator and the application both take them from here.

#include <cstdint>

namespace app::handler_offset {

inline constexpr std::uint32_t CreationComplete = 0x0000;
inline constexpr std::uint32_t TrayIcon = 0x0006;
inline constexpr std::uint32_t TemplateSwitch = 0x0030;
inline constexpr std::uint32_t NameMirroring = 0x0A5A;
inline constexpr std::uint32_t SexMirroring = 0x0AB9;
inline constexpr std::uint32_t DateMirroring = 0x0AF4;
inline constexpr std::uint32_t AgeMirroring = 0x0B2F;
inline constexpr std::uint32_t NumberMirroring = 0x0B6A;
inline constexpr std::uint32_t PhotoChoice = 0x0BA5;
inline constexpr std::uint32_t FontChoice = 0x0C5E;
inline constexpr std::uint32_t Save = 0x0E4B;

}  // namespace app::handler_offset
