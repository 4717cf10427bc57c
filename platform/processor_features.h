#pragma once
// What the processor the program runs on offers beyond what the program was built for, each asked
// once. Only x86 processors are asked; elsewhere there is nothing to choose between.

namespace platform {

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define CERTMAKER_ASKS_PROCESSOR_FEATURES 1

inline bool processor_has_ssse3()
{
    static const bool present = __builtin_cpu_supports("ssse3");
    return present;
}

// The wide (256-bit) vector registers and the newer instruction encoding that comes with them.
inline bool processor_has_avx()
{
    static const bool present = __builtin_cpu_supports("avx");
    return present;
}
#endif

}  // namespace platform
