#include "tools/formgen/pool_source.h"

#include "runtime/form/byte_writer.h"
#include "tools/formgen/source_lines.h"

namespace formgen {

ConstantPool read_pool_source(const std::filesystem::path& source, const std::filesystem::path& pictures)
{
    ConstantPool pool;
    runtime::form::ByteWriter out;
    bool has_empty_text = false, has_empty_byte_set = false, has_song = false;
    for (const auto& line : read_source_lines(source)) {
        const std::string& keyword = line.tokens[0].text;
        auto expect = [&](std::size_t count) {
            if (line.tokens.size() != count + 1)
                fail(line, "'" + keyword + "' takes " + std::to_string(count) + " value(s)");
        };
        if (keyword == "empty_text") {
            expect(0);
            pool.empty_text = out.size();
            has_empty_text = true;
            out.byte(0);
        } else if (keyword == "kind") {
            expect(2);
            pool.kind_names.push_back(out.size());
            out.zero_terminated_text(parse_text(line, line.tokens[1]));
            auto picture = read_file_bytes(pictures / line.tokens[2].text);
            pool.kind_templates.push_back(out.size());
            out.dword(1);
            out.counted_bytes(picture);
        } else if (keyword == "empty_byte_set") {
            expect(0);
            pool.empty_byte_set = out.size();
            has_empty_byte_set = true;
            out.dword(1);
            out.dword(0);
        } else if (keyword == "song_typeface") {
            expect(1);
            pool.song_typeface = out.size();
            has_song = true;
            out.zero_terminated_text(parse_text(line, line.tokens[1]));
        } else {
            fail(line, "unknown constant '" + keyword + "'");
        }
    }
    if (!has_empty_text || !has_empty_byte_set || !has_song || pool.kind_names.size() != 16)
        throw SourceError(source.string() + ": the pool needs empty_text, 16 kinds, empty_byte_set and song_typeface");
    pool.bytes = out.take();
    return pool;
}

}  // namespace formgen
