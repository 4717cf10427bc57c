#include "runtime/form/form_error.h"

namespace runtime::form {

const char* describe(FormError error)
{
    switch (error) {
    case FormError::None:
        return "no error";
    case FormError::Truncated:
        return "read past the end of the data";
    case FormError::WindowListLength:
        return "window list length is not a multiple of 8";
    case FormError::InvalidWindowId:
        return "invalid window identifier";
    case FormError::EmptyUnitTable:
        return "window without units";
    case FormError::UnitCountTooLarge:
        return "unit count does not fit the unit table";
    case FormError::RecordOverlap:
        return "records overlap";
    case FormError::RecordPastBody:
        return "record runs past the unit table";
    case FormError::RecordOverrun:
        return "field runs past the end of its record";
    case FormError::CountOverrun:
        return "count larger than the bytes left";
    case FormError::FontLength:
        return "font field neither 0 nor 60 bytes";
    case FormError::UnknownHandlerOffset:
        return "unknown handler offset";
    case FormError::VersionTooHigh:
        return "property block version too high";
    }
    return "unknown error";
}

}  // namespace runtime::form
