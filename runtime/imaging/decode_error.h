#pragma once
// Why a decoder gave no picture. Callers only see "no picture"; the names let tests and tools say
// which check refused the input.

#include <utility>
#include <variant>

namespace runtime::imaging {

enum class DecodeError {
    NoBytes,                 // no input, or a length of 0
    UnknownFormat,           // the probe did not recognise the first bytes
    Truncated,               // the data ends before a structure it declares
    BadSignature,            // the first bytes are not the format's signature
    BadHeader,               // a header field is out of its range
    UnsupportedCompression,  // e.g. run-length or bit-field BMP
    UnsupportedBitDepth,     // a bit count the decoder does not read
    UnsupportedPlanes,       // PCX with 8 bits per pixel and more than one plane
    UnsupportedComponents,   // JPEG output neither greyscale nor three-component (e.g. CMYK)
    TooManyScans,            // a progressive JPEG with an unreasonable number of scans
    TooLarge,                // the pixel block would overflow or exceed the size cap
    OutOfMemory,             // the allocation failed
    CorruptData,             // compressed data that cannot be decoded (LZW chain, libjpeg fatal error, ...)
    NoFrame,                 // a GIF block stream without an image
    BadIconEntry,            // an icon directory entry pointing outside the file or at unusable data
    IconCreationFailed,      // the platform could not make an icon of the pixels
    FileUnreadable,          // the file could not be opened or read
};

const char* decode_error_name(DecodeError error);

// A value or the reason there is none.
template <typename T> class DecodeResult {
public:
    DecodeResult(T value)
        : m_state(std::move(value))
    {
    }
    DecodeResult(DecodeError error)
        : m_state(error)
    {
    }

    bool has_value() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return has_value(); }
    T& value() { return std::get<T>(m_state); }
    const T& value() const { return std::get<T>(m_state); }
    T& operator*() { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    DecodeError error() const { return std::get<DecodeError>(m_state); }

private:
    std::variant<T, DecodeError> m_state;
};

}  // namespace runtime::imaging
