// The Linux build decodes JPEG and PNG with libjpeg and libpng in the runtime itself; the system
// offers no codec of its own here.

#include "platform/picture_codecs.h"

namespace platform {

PictureCodecStatus decode_with_system_codec(PictureCodec, std::span<const std::uint8_t>, int, int,
                                            const PictureCodecBuffer&)
{
    return PictureCodecStatus::NoCodec;
}

}  // namespace platform
