// The older vector instructions, which most of Qt's arithmetic and our own loops are built from,
// run several times slower while the upper halves of the wide vector registers are in use, as Qt's
// solid fills leave them. The platform marks them unused before and after every event it delivers
// and after each of its fills; these tests put the registers in use and read the processor's own
// record of which register state is in use.

#include "platform/qt/device_context_qt.h"
#include "platform/qt/vector_state_qt.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>

namespace {

using namespace platform;

// The processor reports which register state is in use only where it has the instruction's
// second form (XGETBV with ECX = 1).
bool can_read_state_in_use()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__builtin_cpu_supports("avx") || !__get_cpuid_count(0xD, 1, &eax, &ebx, &ecx, &edx))
        return false;
    return (eax & (1u << 2)) != 0;
}

bool upper_halves_in_use()
{
    unsigned low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;  // the upper halves of the 256-bit registers
}

// Writes a whole 256-bit register, as a wide fill does, and leaves it so.
void use_upper_halves()
{
    asm volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
}

class StateRecorder : public QObject {
public:
    bool in_use_when_delivered = true;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        in_use_when_delivered = upper_halves_in_use();
        use_upper_halves();
        return true;
    }
};

TEST(WideVectorState, IsUnusedWhenAnEventIsDeliveredAndAfterItsHandlerAndAFill)
{
    if (!can_read_state_in_use())
        GTEST_SKIP() << "this processor does not report which register state is in use";

    use_upper_halves();
    ASSERT_TRUE(upper_halves_in_use());  // the check below can see the state
    StateRecorder recorder;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&recorder, &event);
    EXPECT_FALSE(recorder.in_use_when_delivered);
    EXPECT_FALSE(upper_halves_in_use()) << "the handler's use outlived its event";

    std::unique_ptr<DeviceContext> context = memory_device_context(64, 64, 0xFFFFFF);
    use_upper_halves();
    context->fill_rect(Rect{0, 0, 64, 64}, 0x0000FF);
    EXPECT_FALSE(upper_halves_in_use());

    use_upper_halves();
    clear_wide_vector_state();
    EXPECT_FALSE(upper_halves_in_use());
}

}  // namespace
#endif
