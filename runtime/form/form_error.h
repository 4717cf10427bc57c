#pragma once
// Failures of reading and writing stored window descriptions and property blocks. Each failure has
// its own name so that a caller or a test can say which one it expects.

#include <optional>
#include <utility>

namespace runtime::form {

enum class FormError {
    None,
    Truncated,             // a read ran past the end of the block or of a counted field
    WindowListLength,      // the window list is not a whole number of identifier pairs
    InvalidWindowId,       // a window identifier fails the validity rule
    EmptyUnitTable,        // a window with no units (entry 0 must be the window's own unit)
    UnitCountTooLarge,     // the identifier and offset arrays do not fit the unit table body
    RecordOverlap,         // two records share bytes
    RecordPastBody,        // a record's length runs past the unit table body
    RecordOverrun,         // walking a record ran past the record's end
    CountOverrun,          // a count promises more entries than the bytes left can hold
    FontLength,            // a font field that is neither 0 nor 60 bytes
    UnknownHandlerOffset,  // an event table names an offset the application does not know
    VersionTooHigh,        // a property block newer than the highest version its kind knows
};

// A short English description, for tools and logs.
const char* describe(FormError error);

// A value or the failure that prevented it.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(FormError error)
        : m_error(error)
    {
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    FormError error() const { return m_error; }

    T& value() & { return *m_value; }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    T& operator*() & { return *m_value; }
    const T& operator*() const& { return *m_value; }

private:
    std::optional<T> m_value;
    FormError m_error = FormError::None;
};

}  // namespace runtime::form
