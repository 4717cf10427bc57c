#include "script.h"

#include <charconv>

namespace drive {
namespace {

// The first word and the rest after exactly one space.
std::pair<std::string, std::string> split_first(const std::string& text)
{
    std::string::size_type space = text.find(' ');
    if (space == std::string::npos)
        return {text, std::string()};
    return {text.substr(0, space), text.substr(space + 1)};
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> result;
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        if (end > at)
            result.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return result;
}

std::optional<int> integer(const std::string& text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

ParseResult failure(std::string reason)
{
    return {std::nullopt, std::move(reason)};
}

}  // namespace

ParseResult parse_line(const std::string& raw)
{
    std::string line = raw;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty() || line.front() == '#' || line.find_first_not_of(' ') == std::string::npos)
        return {};

    Command command;
    command.line = line;
    auto [verb, rest] = split_first(line);

    if (verb == "kind" || verb == "shot") {
        if (rest.empty())
            return failure("missing " + std::string(verb == "kind" ? "kind name" : "path"));
        command.verb = verb == "kind" ? Verb::Kind : Verb::Shot;
        command.text = rest;
        return {command, {}};
    }
    if (verb == "type") {
        auto [control, text] = split_first(rest);
        if (control.empty())
            return failure("missing control");
        command.verb = Verb::Type;
        command.control = control;
        command.text = text;
        return {command, {}};
    }
    if (verb == "key") {
        std::vector<std::string> parts = words(rest);
        if (parts.size() != 2)
            return failure("expected: key CONTROL KEY");
        command.verb = Verb::Key;
        command.control = parts[0];
        command.text = parts[1];
        return {command, {}};
    }
    if (verb == "click") {
        std::vector<std::string> parts = words(rest);
        if (parts.empty() || parts.size() > 4)
            return failure("expected: click CONTROL [X Y] [left|right]");
        command.verb = Verb::Click;
        command.control = parts[0];
        std::size_t next = 1;
        if (parts.size() >= 3) {
            std::optional<int> x = integer(parts[1]);
            std::optional<int> y = integer(parts[2]);
            if (!x || !y)
                return failure("X and Y must be integers");
            command.has_position = true;
            command.x = *x;
            command.y = *y;
            next = 3;
        }
        if (next < parts.size()) {
            if (parts[next] == "right")
                command.right_button = true;
            else if (parts[next] != "left")
                return failure("button must be left or right");
            ++next;
        }
        if (next != parts.size())
            return failure("expected: click CONTROL [X Y] [left|right]");
        return {command, {}};
    }
    if (verb == "photo" || verb == "save") {
        if (rest.empty())
            return failure("missing path (or cancel)");
        command.verb = verb == "photo" ? Verb::Photo : Verb::Save;
        command.cancel = rest == "cancel";
        command.text = rest;
        return {command, {}};
    }
    if (verb == "font") {
        command.verb = Verb::Font;
        if (rest == "cancel") {
            command.cancel = true;
            return {command, {}};
        }
        std::string::size_type space = rest.rfind(' ');
        if (space == std::string::npos)
            return failure("expected: font FACE SIZE");
        std::optional<int> size = integer(rest.substr(space + 1));
        if (!size || *size <= 0)
            return failure("SIZE must be a positive integer");
        command.text = rest.substr(0, space);
        command.number = *size;
        return {command, {}};
    }
    if (verb == "set") {
        auto [control, after] = split_first(rest);
        auto [index_text, value] = split_first(after);
        std::optional<int> index = integer(index_text);
        if (control.empty() || !index)
            return failure("expected: set CONTROL INDEX TEXT");
        command.verb = Verb::Set;
        command.control = control;
        command.index = *index;
        command.text = value;
        return {command, {}};
    }
    if (verb == "get" || verb == "expect") {
        auto [control, after] = split_first(rest);
        auto [index_text, value] = split_first(after);
        std::optional<int> index = integer(index_text);
        if (control.empty() || !index)
            return failure("expected: " + verb + " CONTROL INDEX" + (verb == "expect" ? " VALUE" : ""));
        if (verb == "get" && !value.empty())
            return failure("expected: get CONTROL INDEX");
        command.verb = verb == "get" ? Verb::Get : Verb::Expect;
        command.control = control;
        command.index = *index;
        command.text = value;
        return {command, {}};
    }
    if (verb == "wait") {
        std::optional<int> milliseconds = integer(rest);
        if (!milliseconds || *milliseconds < 0)
            return failure("expected: wait MS");
        command.verb = Verb::Wait;
        command.number = *milliseconds;
        return {command, {}};
    }
    if (verb == "counts") {
        if (!rest.empty())
            return failure("counts takes nothing");
        command.verb = Verb::Counts;
        return {command, {}};
    }
    if (verb == "close") {
        if (!rest.empty())
            return failure("close takes nothing");
        command.verb = Verb::Close;
        return {command, {}};
    }
    return failure("unknown command \"" + verb + "\"");
}

}  // namespace drive
