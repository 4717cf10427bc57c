#pragma once

namespace platform {

// Some of Qt's drawing routines (solid fills among them) use the processor's widest vector
// registers and return without marking their upper halves unused. Until that is done, every
// instruction of the older, narrower vector set (Qt's own floating-point arithmetic, text layout,
// our pixel packing) runs much slower on some processors: a caption drawn after a fill took 10 us
// instead of 6. This marks them unused; it costs next to nothing and does nothing on processors
// without those registers.
void clear_wide_vector_state();

}  // namespace platform
