#include "platform/qt/vector_state_qt.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace platform {

#if defined(__x86_64__) || defined(__i386__)
namespace {

__attribute__((target("avx"))) void zero_upper_halves()
{
    _mm256_zeroupper();
}

bool has_wide_registers()
{
    static const bool present = __builtin_cpu_supports("avx");
    return present;
}

}  // namespace

void clear_wide_vector_state()
{
    if (has_wide_registers())
        zero_upper_halves();
}
#else
void clear_wide_vector_state()
{
}
#endif

}  // namespace platform
