#include "runtime/form/form_listing.h"

#include "platform/text_encoding.h"
#include "tests/runtime/form/form_test_support.h"

#include <gtest/gtest.h>

using namespace form_test;

TEST(FormListing, ListsUnitsAndBlocksInUtf8)
{
    std::vector<StoredUnit> units = sample_units();
    UnitFields label = label_fields();
    label.name = platform::gbk_from_utf8("标签生成");
    LabelBlock block;
    block.caption = platform::gbk_from_utf8("证件类型：");
    block.background_picture = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4, 5, 6};
    label.property_block = write_property_block(block, 1);
    units[1].second = write_unit_record(label);
    UnitFields broken = group_fields();
    broken.property_block = {9, 0, 0, 0};  // a group box block of version 9
    units[2].second = write_unit_record(broken);

    auto description = read_form_description(stored_block(units));
    ASSERT_TRUE(description.ok());
    std::string listing = list_form_description(*description);

    EXPECT_NE(listing.find("window 0x52010001: value A 0x00010379, value B 0x19010005, texts \"\" \"\", 4 units"),
              std::string::npos);
    EXPECT_NE(listing.find("0x16010010  Label       \"标签生成\""), std::string::npos) << listing;
    EXPECT_NE(listing.find("-1 -> 0x0040, 0 -> 0x0040"), std::string::npos);
    EXPECT_NE(listing.find("visible,tab"), std::string::npos);
    EXPECT_NE(listing.find("menu item: flags 0x00000001, caption \"File\", handler 0x0080"), std::string::npos);
    EXPECT_NE(listing.find("caption (8)                 \"证件类型：\""), std::string::npos) << listing;
    EXPECT_NE(listing.find("background_picture (18)     10 bytes: ff d8 ff e0 01 02 03 04 ..."), std::string::npos);
    EXPECT_NE(listing.find("data_source (27)            \"\"  [not stored in this version]"), std::string::npos);
    EXPECT_NE(listing.find("unreadable block (property block version too high)"), std::string::npos);
    EXPECT_NE(listing.find("children (1): 0x16010010"), std::string::npos);
}
