#include "platform/qt/vector_state_qt.h"

#include "platform/processor_features.h"

#ifdef CERTMAKER_ASKS_PROCESSOR_FEATURES
#include <immintrin.h>
#endif

namespace platform {

#ifdef CERTMAKER_ASKS_PROCESSOR_FEATURES
namespace {

__attribute__((target("avx"))) void zero_upper_halves()
{
    _mm256_zeroupper();
}

}  // namespace

void clear_wide_vector_state()
{
    if (processor_has_avx())
        zero_upper_halves();
}
#else
void clear_wide_vector_state()
{
}
#endif

}  // namespace platform
