#include "app/runtime_link.h"

#include "app/main_window.h"

namespace app {
namespace {

const runtime::EntryTable* g_runtime = nullptr;

}  // namespace

void link_runtime(const runtime::EntryTable& table)
{
    g_runtime = &table;
}

const runtime::EntryTable& rt()
{
    return *g_runtime;
}

runtime::PropertyValue get(runtime::ControlId control, std::int32_t index)
{
    return rt().get_property(kMainWindow, control, index, runtime::kWholeValue);
}

void set(runtime::ControlId control, std::int32_t index, runtime::Word low, runtime::Word high)
{
    rt().set_property(kMainWindow, control, index, runtime::kWholeValue, low, high);
}

void set_integer(runtime::ControlId control, std::int32_t index, std::int32_t value)
{
    set(control, index, static_cast<runtime::Word>(static_cast<std::uint32_t>(value)));
}

}  // namespace app
