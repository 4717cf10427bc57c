#include "runtime/imaging/decode_error.h"

namespace runtime::imaging {

const char* decode_error_name(DecodeError error)
{
    switch (error) {
    case DecodeError::NoBytes:
        return "no bytes";
    case DecodeError::UnknownFormat:
        return "unknown format";
    case DecodeError::Truncated:
        return "truncated";
    case DecodeError::BadSignature:
        return "bad signature";
    case DecodeError::BadHeader:
        return "bad header";
    case DecodeError::UnsupportedCompression:
        return "unsupported compression";
    case DecodeError::UnsupportedBitDepth:
        return "unsupported bit depth";
    case DecodeError::UnsupportedPlanes:
        return "unsupported plane count";
    case DecodeError::UnsupportedComponents:
        return "unsupported component count";
    case DecodeError::TooManyScans:
        return "too many scans";
    case DecodeError::TooLarge:
        return "too large";
    case DecodeError::OutOfMemory:
        return "out of memory";
    case DecodeError::CorruptData:
        return "corrupt data";
    case DecodeError::NoFrame:
        return "no frame";
    case DecodeError::BadIconEntry:
        return "bad icon entry";
    case DecodeError::IconCreationFailed:
        return "icon creation failed";
    case DecodeError::FileUnreadable:
        return "file unreadable";
    }
    return "unknown";
}

}  // namespace runtime::imaging
