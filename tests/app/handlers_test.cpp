#include "recording_runtime.h"

#include "app/data/embedded_data.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "app/runtime_link.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace app;
using test_support::RecordingRuntime;

struct Handlers : testing::Test {
    RecordingRuntime runtime;

    void SetUp() override
    {
        link_runtime(runtime.table());
        // The stored initial places of the overlay labels and the initial field contents.
        runtime.put_integer(control::NameLabel, 0, 324);
        runtime.put_integer(control::NameLabel, 1, 53);
        runtime.put_integer(control::SexLabel, 0, 326);
        runtime.put_integer(control::SexLabel, 1, 75);
        runtime.put_integer(control::AgeLabel, 0, 326);
        runtime.put_integer(control::AgeLabel, 1, 94);
        runtime.put_text(control::DateBox, 8,
                         "2013\xC4\xEA"
                         "9\xD4\xC2"
                         "28\xC8\xD5");
        runtime.put_text(control::NumberBox, 8, "V3471G52452G50");
    }

    void TearDown() override
    {
        EXPECT_EQ(runtime.outstanding_blocks(), 0u) << "a text or byte set was not released";
        EXPECT_EQ(runtime.releases_of_unknown_blocks(), 0u) << "something was released twice or never handed out";
    }

    void choose(const std::string& content)
    {
        runtime.put_text(control::KindSelector, 9, content);
        runtime.calls.clear();
        on_kind_selected(nullptr, 0);
    }

    std::pair<int, int> place(runtime::ControlId label) const
    {
        return {runtime.integer(label, 0), runtime.integer(label, 1)};
    }

    long count_calls(const std::string& call) const
    {
        return std::count(runtime.calls.begin(), runtime.calls.end(), call);
    }
};

TEST_F(Handlers, KindOneMovesEveryOverlayInOrderReadingTheNameLabelBack)
{
    choose(data::kind_name(1));
    const std::vector<std::string> expected = {
        "get selector 9", "release",       "set preview 18", "set label10 0", "set label10 1", "get label10 0",
        "set label11 0",  "set label11 1", "get label10 0",  "set label12 0", "set label12 1", "set label13 0",
        "set label13 1",  "set trans2 0",  "set trans2 1",   "set trans1 0",  "set trans1 1",  "get edit3 8",
        "set trans1 8",   "release",       "get edit5 8",    "set trans2 8",  "release",
    };
    EXPECT_EQ(runtime.calls, expected);
    EXPECT_EQ(runtime.word(control::Preview, 18), reinterpret_cast<runtime::Word>(data::kind_template(1)));
}

TEST_F(Handlers, EveryKindPutsTheOverlaysAtItsBlanks)
{
    struct Row {
        std::pair<int, int> name, sex, age, second_name, number, date;
        bool refresh;
    };
    // Kinds 7 to 16 keep the name, sex and age places of the last kind 1 to 6 chosen (here: none,
    // so the stored ones).
    const std::pair<int, int> n10{324, 53}, n11{326, 75}, n12{326, 94};
    const Row rows[16] = {
        {{329, 53}, {329, 73}, {329, 92}, {372, 142}, {419, 281}, {381, 269}, true},
        {{324, 56}, {324, 81}, {324, 104}, {363, 141}, {419, 281}, {381, 269}, true},
        {{324, 58}, {324, 82}, {324, 103}, {365, 149}, {395, 285}, {394, 269}, true},
        {{324, 53}, {324, 74}, {324, 93}, {360, 141}, {417, 279}, {386, 266}, true},
        {{324, 59}, {324, 82}, {324, 102}, {365, 148}, {394, 285}, {395, 268}, true},
        {{324, 53}, {324, 75}, {324, 94}, {360, 142}, {408, 283}, {373, 271}, true},
        {n10, n11, n12, {360, 142}, {418, 280}, {382, 266}, false},
        {n10, n11, n12, {369, 154}, {413, 265}, {380, 252}, false},
        {n10, n11, n12, {361, 141}, {417, 283}, {380, 269}, true},
        {n10, n11, n12, {361, 141}, {418, 281}, {380, 269}, true},
        {n10, n11, n12, {359, 153}, {414, 283}, {380, 269}, true},
        {n10, n11, n12, {360, 142}, {410, 267}, {372, 253}, true},
        {n10, n11, n12, {360, 142}, {410, 283}, {372, 269}, true},
        {n10, n11, n12, {360, 142}, {410, 267}, {372, 253}, true},
        {n10, n11, n12, {360, 142}, {410, 283}, {372, 269}, true},
        {n10, n11, n12, {360, 142}, {410, 275}, {372, 261}, true},
    };
    for (int kind = 1; kind <= 16; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        SetUp();  // back to the stored places
        choose(data::kind_name(kind));
        const Row& row = rows[kind - 1];
        EXPECT_EQ(place(control::NameLabel), row.name);
        EXPECT_EQ(place(control::SexLabel), row.sex);
        EXPECT_EQ(place(control::AgeLabel), row.age);
        EXPECT_EQ(place(control::SecondNameLabel), row.second_name);
        EXPECT_EQ(place(control::NumberLabel), row.number);
        EXPECT_EQ(place(control::DateLabel), row.date);
        EXPECT_EQ(runtime.word(control::Preview, 18), reinterpret_cast<runtime::Word>(data::kind_template(kind)));
        // The content is read once per row compared, up to the matching one.
        EXPECT_EQ(count_calls("get selector 9"), kind);
        EXPECT_EQ(count_calls("set trans1 8") + count_calls("set trans2 8"), row.refresh ? 2 : 0);
    }
}

TEST_F(Handlers, LaterKindsInheritTheNamePlacesOfTheLastEarlyKind)
{
    choose(data::kind_name(6));
    choose(data::kind_name(10));
    EXPECT_EQ(place(control::NameLabel), std::make_pair(324, 53));
    EXPECT_EQ(place(control::SexLabel), std::make_pair(324, 75));
    EXPECT_EQ(place(control::AgeLabel), std::make_pair(324, 94));
}

TEST_F(Handlers, KindEightMovesNumberDateThenSecondNameAndCopiesNothing)
{
    choose(data::kind_name(8));
    std::vector<std::string> tail(runtime.calls.end() - 7, runtime.calls.end());
    const std::vector<std::string> expected = {"set preview 18", "set trans2 0",  "set trans2 1", "set trans1 0",
                                               "set trans1 1",   "set label13 0", "set label13 1"};
    EXPECT_EQ(tail, expected);
}

TEST_F(Handlers, AContentThatNamesNoKindChangesNothing)
{
    for (const std::string& content : {std::string(data::kind_name(1)) + " ", std::string(), std::string("x")}) {
        choose(content);
        EXPECT_EQ(count_calls("get selector 9"), 16);
        EXPECT_EQ(std::count_if(runtime.calls.begin(), runtime.calls.end(),
                                [](const std::string& call) { return call.rfind("set", 0) == 0; }),
                  0);
    }
}

TEST_F(Handlers, MirroringCopiesVerbatimAndTheNameTwice)
{
    runtime.put_text(control::NameBox, 8, "  \xD5\xC5\xC8\xFD  ");
    on_name_changed(nullptr, 0);
    const std::vector<std::string> expected = {"get edit1 8", "set label10 8", "release",
                                               "get edit1 8", "set label13 8", "release"};
    EXPECT_EQ(runtime.calls, expected);
    EXPECT_EQ(runtime.text(control::NameLabel, 8), "  \xD5\xC5\xC8\xFD  ");
    EXPECT_EQ(runtime.text(control::SecondNameLabel, 8), "  \xD5\xC5\xC8\xFD  ");

    // A cleared box gives null: written as is, nothing to release.
    runtime.put_text(control::NameBox, 8, "");
    runtime.calls.clear();
    on_name_changed(nullptr, 0);
    EXPECT_EQ(runtime.text(control::NameLabel, 8), "");
    EXPECT_EQ(count_calls("release"), 0);

    struct Step {
        runtime::HandlerResult (*handler)(const std::int32_t*, int);
        runtime::ControlId source;
        runtime::ControlId target;
    };
    const Step steps[] = {{on_sex_changed, control::SexBox, control::SexLabel},
                          {on_date_changed, control::DateBox, control::DateLabel},
                          {on_age_changed, control::AgeBox, control::AgeLabel},
                          {on_number_changed, control::NumberBox, control::NumberLabel}};
    for (const Step& step : steps) {
        runtime.put_text(step.source, 8, "value of " + test_support::name_of(step.source));
        runtime.calls.clear();
        step.handler(nullptr, 0);
        EXPECT_EQ(runtime.calls.size(), 3u);
        EXPECT_EQ(runtime.text(step.target, 8), "value of " + test_support::name_of(step.source));
    }
}

TEST_F(Handlers, PhotoReadsTheChosenFileIntoThePhotoBox)
{
    runtime.put_text(control::CommonDialog, 10, "/home/user/me.jpg");
    runtime::HandlerResult result = on_photo_pressed(nullptr, 0);
    EXPECT_FALSE(result.present) << "the press must go on to the photo box";
    const std::vector<std::string> expected = {"set dialog 8", "command open", "get dialog 10", "command read_file",
                                               "release",      "set photo 10", "release"};
    EXPECT_EQ(runtime.calls, expected);
    EXPECT_EQ(runtime.integer(control::CommonDialog, 8), dialog_type::OpenFile);
    ASSERT_EQ(runtime.command_arguments.size(), 2u);
    EXPECT_EQ(runtime.command_arguments[0][0].type, static_cast<std::uint32_t>(runtime::Kind::CommonDialog));
    EXPECT_EQ(runtime.command_arguments[0][0].low, static_cast<runtime::Word>(kMainWindow));
    EXPECT_EQ(runtime.command_arguments[0][0].high, static_cast<runtime::Word>(control::CommonDialog));
    EXPECT_EQ(runtime.command_arguments[1][0].type, runtime::DataType::Text);
}

TEST_F(Handlers, CancelledDialogsChangeNothing)
{
    runtime.dialog_result = 0;
    on_photo_pressed(nullptr, 0);
    on_save_clicked(nullptr, 0);
    const std::vector<std::string> expected = {"set dialog 8", "command open", "set dialog 8", "command open"};
    EXPECT_EQ(runtime.calls, expected);
    runtime.calls.clear();
    on_font_clicked(nullptr, 0);
    const std::vector<std::string> font_expected = {"allocate 56", "set dialog 8", "command open", "release null",
                                                    "release"};
    EXPECT_EQ(runtime.calls, font_expected);
    EXPECT_TRUE(runtime.font_writes.empty());
}

TEST_F(Handlers, AnUnreadablePhotoClearsTheBoxAndAMissingPathUsesTheEmptyText)
{
    runtime.read_file_content.clear();
    on_photo_pressed(nullptr, 0);
    EXPECT_EQ(runtime.word(control::Photo, 10), 0u);
    EXPECT_EQ(runtime.command_arguments[1][0].low, reinterpret_cast<runtime::Word>(data::empty_text()));
}

TEST_F(Handlers, FontGoesToTheTwelveControlsInOrderWithSizeAndFaceOnly)
{
    runtime.put_text(control::CommonDialog, 25, "\xBA\xDA\xCC\xE5");
    runtime.put_integer(control::CommonDialog, 26, 12);
    on_font_clicked(nullptr, 0);
    const std::vector<runtime::ControlId> order = {
        control::NameLabel,   control::SexLabel,  control::AgeLabel,  control::SecondNameLabel,
        control::NumberLabel, control::DateLabel, control::NumberBox, control::AgeBox,
        control::DateBox,     control::SexBox,    control::NameBox,   control::KindSelector};
    ASSERT_EQ(runtime.font_writes.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(runtime.font_writes[i].control, order[i]);
        const std::vector<runtime::Word>& members = runtime.font_writes[i].members;
        EXPECT_EQ(members[0] | members[1] | members[2] | members[3] | members[4], 0u);
        EXPECT_EQ(members[5], 12u);
        EXPECT_EQ(runtime.font_writes[i].face_name, "\xBA\xDA\xCC\xE5");
    }
    EXPECT_EQ(runtime.integer(control::CommonDialog, 8), dialog_type::Font);
}

TEST_F(Handlers, SaveCapturesThePreviewAndWritesItUnderTheChosenName)
{
    runtime.put_text(control::CommonDialog, 10, "/tmp/cert.jpg");
    on_save_clicked(nullptr, 0);
    const std::vector<std::string> expected = {"set dialog 8",
                                               "command open",
                                               "command window_handle",
                                               "command window_snapshot",
                                               "get dialog 10",
                                               "command write_file",
                                               "release",
                                               "release"};
    EXPECT_EQ(runtime.calls, expected);
    EXPECT_EQ(runtime.integer(control::CommonDialog, 8), dialog_type::SaveFile);
    ASSERT_EQ(runtime.written_files.size(), 1u);
    EXPECT_EQ(runtime.written_files[0], "/tmp/cert.jpg|BMP");
    const auto& preview = runtime.command_arguments[1][0];
    EXPECT_EQ(preview.type, static_cast<std::uint32_t>(runtime::Kind::Label));
    EXPECT_EQ(preview.high, static_cast<runtime::Word>(control::Preview));
    const auto& snapshot = runtime.command_arguments[2];
    ASSERT_EQ(snapshot.size(), 3u);
    EXPECT_EQ(snapshot[0].low, 42u);
    EXPECT_EQ(snapshot[0].type, runtime::DataType::Integer);
    EXPECT_EQ(snapshot[1].type, runtime::DataType::Omitted);
    EXPECT_EQ(snapshot[2].type, runtime::DataType::Omitted);
}

TEST_F(Handlers, AFailedSnapshotIsWrittenAsAnEmptyFile)
{
    runtime.snapshot_content.clear();
    runtime.put_text(control::CommonDialog, 10, "/tmp/cert.bmp");
    on_save_clicked(nullptr, 0);
    ASSERT_EQ(runtime.written_files.size(), 1u);
    EXPECT_EQ(runtime.written_files[0], "/tmp/cert.bmp|");
    EXPECT_EQ(runtime.command_arguments.back()[1].low, reinterpret_cast<runtime::Word>(data::empty_byte_set()));
}

TEST_F(Handlers, TheTrayHandlerShowsTheWindowInItsNormalState)
{
    on_tray_icon(nullptr, 0);
    const std::vector<std::string> expected = {"set window 5", "set window 18"};
    EXPECT_EQ(runtime.calls, expected);
    EXPECT_EQ(runtime.integer(control::Window, 5), 1);
    EXPECT_EQ(runtime.integer(control::Window, 18), 0);
}

}  // namespace
