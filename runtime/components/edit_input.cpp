#include "runtime/components/edit_input.h"

#include "platform/text_encoding.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

namespace runtime::components {
namespace {

bool is_digit(std::uint32_t code)
{
    return code >= '0' && code <= '9';
}

// A leading integer as the C library reads one (blanks, a sign, digits; 0 without digits),
// saturated to the 64-bit range.
std::int64_t leading_integer(std::string_view text)
{
    std::string copy(text);
    errno = 0;
    long long value = std::strtoll(copy.c_str(), nullptr, 10);
    return static_cast<std::int64_t>(value);
}

double leading_real(std::string_view text)
{
    std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

std::string printed(const char* format, double value)
{
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return buffer.data();
}

// ---- Dates ----

bool is_leap_year(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

struct DateTimeParts {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Year, month, day and an optional hour, minute and second, as runs of digits with anything else
// between them ("2013年9月28日", "2013-9-28 8:05", "2013/09/28 08时05分").
std::optional<DateTimeParts> parse_date_time(std::string_view text)
{
    std::vector<long> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!is_digit(static_cast<unsigned char>(text[i]))) {
            // The trail byte of a double-byte character may look like a digit; skip whole characters.
            i += platform::multibyte_character_length(text.substr(i));
            continue;
        }
        long value = 0;
        while (i < text.size() && is_digit(static_cast<unsigned char>(text[i]))) {
            value = std::min(value * 10 + (text[i] - '0'), 1000000L);
            ++i;
        }
        numbers.push_back(value);
    }
    if (numbers.size() < 3 || numbers.size() > 6)
        return std::nullopt;
    numbers.resize(6, 0);
    DateTimeParts parts{static_cast<int>(numbers[0]), static_cast<int>(numbers[1]), static_cast<int>(numbers[2]),
                        static_cast<int>(numbers[3]), static_cast<int>(numbers[4]), static_cast<int>(numbers[5])};
    if (parts.year < 100 || parts.year > 9999 || parts.month < 1 || parts.month > 12 || parts.day < 1 ||
        parts.day > days_in_month(parts.year, parts.month))
        return std::nullopt;
    if (parts.hour > 23 || parts.minute > 59 || parts.second > 59)
        return std::nullopt;
    return parts;
}

std::string gbk(const char* utf8)
{
    return platform::gbk_from_utf8(utf8);
}

std::string format_parts(const char* utf8_format, std::initializer_list<int> values)
{
    std::string format = gbk(utf8_format);
    std::array<char, 128> buffer{};
    auto it = values.begin();
    int a = it != values.end() ? *it++ : 0;
    int b = it != values.end() ? *it++ : 0;
    int c = it != values.end() ? *it++ : 0;
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), a, b, c);
    return buffer.data();
}

std::string normalise_date_time(std::string_view text)
{
    std::optional<DateTimeParts> parts = parse_date_time(text);
    if (!parts)
        return {};
    std::string result = format_parts("%d年%d月%d日", {parts->year, parts->month, parts->day});
    if (parts->second != 0)
        result += format_parts("%d时%d分%d秒", {parts->hour, parts->minute, parts->second});
    else if (parts->minute != 0)
        result += format_parts("%d时%d分", {parts->hour, parts->minute});
    else if (parts->hour != 0)
        result += format_parts("%d时", {parts->hour});
    return result;
}

}  // namespace

bool accepts_character(std::uint32_t mode, std::uint32_t character_code)
{
    if (character_code < 32)
        return true;
    switch (mode) {
    case EditInputMode::IntegerText:
    case EditInputMode::Short:
    case EditInputMode::Integer:
    case EditInputMode::Long:
        return is_digit(character_code) || character_code == '-';
    case EditInputMode::DecimalText:
    case EditInputMode::Single:
    case EditInputMode::Double:
        return is_digit(character_code) || character_code == '-' || character_code == '.';
    case EditInputMode::Byte:
        return is_digit(character_code);
    default:
        return true;
    }
}

std::string normalise_input(std::uint32_t mode, std::string_view text)
{
    std::string result;
    switch (mode) {
    case EditInputMode::Byte:
        result = std::to_string(std::clamp<std::int64_t>(leading_integer(text), 0, 255));
        break;
    case EditInputMode::Short:
        result = std::to_string(std::clamp<std::int64_t>(leading_integer(text), -32768, 32767));
        break;
    case EditInputMode::Integer:
        result = std::to_string(std::clamp<std::int64_t>(
            leading_integer(text), std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
        break;
    case EditInputMode::Long:
        result = std::to_string(leading_integer(text));
        break;
    case EditInputMode::Single:
        result = printed("%.6g", static_cast<double>(static_cast<float>(leading_real(text))));
        break;
    case EditInputMode::Double:
        result = printed("%.13g", leading_real(text));
        break;
    case EditInputMode::DateTime:
        return normalise_date_time(text);
    default:
        return std::string(text);
    }
    // A zero shows as an empty box.
    if (result == "0" || result == "-0")
        return {};
    return result;
}

}  // namespace runtime::components
