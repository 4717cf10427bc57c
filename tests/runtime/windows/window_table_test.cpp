#include "runtime/windows/window_table.h"

#include "runtime/diagnostics/error_report.h"
#include "tests/runtime/form/form_test_support.h"

#include <gtest/gtest.h>

using namespace form_test;

namespace {

runtime::WindowTable filled_table()
{
    auto description = read_form_description(stored_block(sample_units()));
    EXPECT_TRUE(description.ok());
    runtime::WindowTable table;
    table.fill(std::move(description).value());
    return table;
}

}  // namespace

TEST(WindowTable, FindsWindowsAndUnitsByIdentifier)
{
    runtime::WindowTable table = filled_table();
    ASSERT_EQ(table.size(), 1u);
    runtime::WindowEntry* entry = table.find(kWindow);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->unit.units.size(), 4u);
    EXPECT_TRUE(entry->pristine.empty());
    EXPECT_EQ(table.find(0x52010002), nullptr);
    EXPECT_EQ(table.find(0x50000001), nullptr);
    EXPECT_EQ(table.find_unit_record(kWindow, kGroup), &entry->unit.units.record(2));
    EXPECT_EQ(table.find_unit_record(kWindow, 0), &entry->unit.units.record(0));
    EXPECT_EQ(table.find_unit_record(0x52010002, kGroup), nullptr);
    runtime::set_report_lookup(nullptr);
}

TEST(WindowTable, AnswersTheErrorReportsQuestions)
{
    runtime::WindowTable table = filled_table();
    EXPECT_EQ(table.window_tag(kWindow), "main");  // the tag of the window's own unit
    EXPECT_FALSE(table.window_tag(0x52010002).has_value());

    auto first = table.find_unit(kWindow, 0);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->tag, "main");
    auto label = table.find_unit(kWindow, kLabel);
    ASSERT_TRUE(label.has_value());
    EXPECT_EQ(label->tag, "label tag");
    EXPECT_FALSE(label->is_menu_item);
    auto menu = table.find_unit(kWindow, kMenuItem);
    ASSERT_TRUE(menu.has_value());
    EXPECT_TRUE(menu->is_menu_item);
    EXPECT_FALSE(table.find_unit(kWindow, 0x16010099).has_value());

    // Filling installs the table, and the report finds the tags through it.
    std::string detail = runtime::compose_report_detail(kWindow, kLabel);
    EXPECT_NE(detail.find("\"main\""), std::string::npos) << detail;
    EXPECT_NE(detail.find("\"label tag\""), std::string::npos) << detail;
    runtime::set_report_lookup(nullptr);
}
