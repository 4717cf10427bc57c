#pragma once
// Bounded little-endian reading of stored data. Running off the end never asserts: the first failure
// sticks, every later read yields zeros or empty values, and the caller checks failed() at the points
// where a result is taken.

#include "platform/log_font.h"
#include "runtime/form/form_error.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runtime::form {

// a * b, or nothing when the product does not fit a size_t.
std::optional<std::size_t> checked_multiply(std::size_t a, std::size_t b);
// a + b, or nothing on overflow.
std::optional<std::size_t> checked_add(std::size_t a, std::size_t b);

inline constexpr std::size_t kLogFontSize = 60;

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, FormError overrun = FormError::Truncated)
        : m_bytes(bytes)
        , m_overrun(overrun)
    {
    }

    std::uint8_t byte();
    std::uint16_t word();
    std::uint32_t dword();
    std::int32_t signed_dword() { return static_cast<std::int32_t>(dword()); }
    // n raw bytes (empty after a failure).
    std::span<const std::uint8_t> bytes(std::size_t n);
    void skip(std::size_t n) { (void)bytes(n); }

    // Dword byte count, then the bytes.
    std::span<const std::uint8_t> counted_bytes();
    std::vector<std::uint8_t> counted_byte_vector();
    // Dword byte count, then GBK bytes without terminator.
    std::string counted_text();
    // GBK bytes up to and including a 0 byte; the text returned excludes the 0.
    std::string zero_terminated_text();
    // Position just past the next 0 byte, without reading; fails like zero_terminated_text().
    void skip_zero_terminated_text();
    // Word count (0xFFFF: a dword count follows), then that many counted texts.
    std::vector<std::string> text_list();
    // Counted bytes of length 0 (nothing: the default GUI font) or 60 (a LOGFONT, kept byte for byte).
    std::optional<platform::LogFont> font();

    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_bytes.size() - m_position; }
    std::size_t size() const { return m_bytes.size(); }
    bool at_end() const { return remaining() == 0; }

    bool failed() const { return m_error != FormError::None; }
    FormError error() const { return m_error; }
    // Records a failure; the first one sticks.
    void fail(FormError error);
    // Fails with CountOverrun unless `count` entries of at least `entry_size` bytes fit what is left.
    bool require_entries(std::size_t count, std::size_t entry_size);

private:
    bool take(std::size_t n);

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    FormError m_overrun;
    FormError m_error = FormError::None;
};

}  // namespace runtime::form
