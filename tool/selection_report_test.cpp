// The report's size and wording for every outcome of the export.
#include "tool/selection_report.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/text_value.h"

namespace {

std::string ReportOf(SelectionSize size, ExportOutcome outcome) {
    TextStack stack;
    PushReportText(stack, size, outcome);
    EXPECT_EQ(1, stack.Depth());
    const TextValue text = stack.At(0);
    return std::string(TextChars(text), TextLength(text));
}

TEST(MeasureSelection, IncludesBothCornersInAnyDirection) {
    EXPECT_EQ(1, MeasureSelection({5, 5}, {5, 5}).width);
    EXPECT_EQ(1, MeasureSelection({5, 5}, {5, 5}).height);
    const SelectionSize forward = MeasureSelection({100, 50}, {300, 200});
    const SelectionSize backward = MeasureSelection({300, 200}, {100, 50});
    EXPECT_EQ(201, forward.width);
    EXPECT_EQ(151, forward.height);
    EXPECT_EQ(forward.width, backward.width);
    EXPECT_EQ(forward.height, backward.height);
    EXPECT_EQ(1920, MeasureSelection({0, 0}, {1919, 1079}).width);
    // Client coordinates can be negative when the cursor leaves a smaller screen.
    EXPECT_EQ(21, MeasureSelection({-10, 0}, {10, 0}).width);
}

TEST(PushReportText, SaysEveryStepWorked) {
    const long before = LiveOwnedTexts();
    EXPECT_EQ("Selecci\xF3n posicionada en clipboard.\r\nDimensi\xF3n:  640 x 480",
              ReportOf({640, 480}, {true, true}));
    EXPECT_EQ(before, LiveOwnedTexts());
    EXPECT_EQ(static_cast<std::uint32_t>(MB_ICONINFORMATION), ReportStyle({true, true}));
}

TEST(PushReportText, NamesTheStepsThatFailed) {
    EXPECT_EQ("No se pudo poner la selecci\xF3n en el clipboard.\r\nDimensi\xF3n:  1 x 1",
              ReportOf({1, 1}, {false, true}));
    EXPECT_EQ("Selecci\xF3n posicionada en clipboard.\r\nDimensi\xF3n:  1920 x 1080\r\n"
              "No se pudo guardar Retazo.bmp.",
              ReportOf({1920, 1080}, {true, false}));
    EXPECT_EQ("No se pudo poner la selecci\xF3n en el clipboard.\r\nDimensi\xF3n:  3 x 2\r\n"
              "No se pudo guardar Retazo.bmp.",
              ReportOf({3, 2}, {false, false}));
    EXPECT_EQ(static_cast<std::uint32_t>(MB_ICONWARNING), ReportStyle({false, true}));
    EXPECT_EQ(static_cast<std::uint32_t>(MB_ICONWARNING), ReportStyle({true, false}));
}

}  // namespace
