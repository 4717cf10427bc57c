#include "platform/log_font.h"

#include "platform/text_encoding.h"

#include <cstring>
#include <string>

namespace platform {

// Made once: every drawing surface starts from it.
LogFont default_gui_log_font()
{
    static const LogFont kDefault = [] {
        LogFont font;
        font.height = -12;
        font.weight = 400;
        font.char_set = 134;
        font.out_precision = 3;
        font.clip_precision = 2;
        font.quality = 1;
        font.pitch_and_family = 2;
        std::string face = gbk_from_utf8("宋体");
        std::memcpy(font.face_name, face.c_str(), face.size() + 1);
        return font;
    }();
    return kDefault;
}

}  // namespace platform
