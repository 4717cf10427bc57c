#pragma once
// A runtime of our own for testing the handlers: it keeps property values in a table, hands out
// heap copies of texts like the real entries do, answers commands from a script, and records every
// call in order. It also checks that every block it hands out is released exactly once.

#include "runtime/boundary/commands.h"
#include "runtime/boundary/entry_table.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

class RecordingRuntime {
public:
    RecordingRuntime();
    ~RecordingRuntime();

    const runtime::EntryTable& table() const { return m_table; }

    // Property values: integers, texts (null when empty) and raw words.
    void put_integer(runtime::ControlId control, std::int32_t index, std::int32_t value);
    void put_text(runtime::ControlId control, std::int32_t index, const std::string& text);
    std::int32_t integer(runtime::ControlId control, std::int32_t index) const;
    std::string text(runtime::ControlId control, std::int32_t index) const;
    runtime::Word word(runtime::ControlId control, std::int32_t index) const;

    // Command answers.
    int dialog_result = 1;
    std::string read_file_content = "file bytes";
    std::string snapshot_content = "BMP";
    runtime::Word window_handle = 42;

    // What happened, one line per call: "get C I", "set C I", "release", "command NAME".
    std::vector<std::string> calls;
    // Arguments the commands received.
    std::vector<std::vector<runtime::TypedValue>> command_arguments;
    std::vector<std::string> written_files;  // "path|bytes"

    std::size_t outstanding_blocks() const { return m_blocks.size(); }
    std::size_t releases_of_unknown_blocks() const { return m_bad_releases; }

    // Sets made with a font record: the record's members and face name at the time of the call.
    struct FontWrite {
        runtime::ControlId control;
        std::vector<runtime::Word> members;
        std::string face_name;
    };
    std::vector<FontWrite> font_writes;

private:
    static RecordingRuntime* s_current;
    static runtime::PropertyValue get_property(runtime::WindowId, runtime::ControlId, std::int32_t, std::int32_t);
    static void set_property(runtime::WindowId, runtime::ControlId, std::int32_t, std::int32_t, runtime::Word,
                             runtime::Word);
    static void* allocate(std::size_t);
    static void* reallocate(void*, std::size_t);
    static void release(void*);
    static runtime::TypedValue call_command(runtime::CommandRoutine, int, const runtime::TypedValue*);

    void* hand_out(std::size_t size);
    char* text_copy(const std::string& text);

    runtime::EntryTable m_table{};
    std::map<std::pair<runtime::ControlId, std::int32_t>, std::string> m_texts;
    std::map<std::pair<runtime::ControlId, std::int32_t>, runtime::Word> m_words;
    std::set<void*> m_blocks;
    std::size_t m_bad_releases = 0;
};

std::string name_of(runtime::ControlId control);

}  // namespace test_support
