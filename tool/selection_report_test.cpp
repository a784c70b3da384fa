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
    EXPECT_EQ(stack.Depth(), 1);
    const TextValue text = stack.At(0);
    return std::string(TextChars(text), TextLength(text));
}

TEST(MeasureSelection, IncludesBothCornersInAnyDirection) {
    EXPECT_EQ(MeasureSelection({5, 5}, {5, 5}).width, 1);
    EXPECT_EQ(MeasureSelection({5, 5}, {5, 5}).height, 1);
    const SelectionSize forward = MeasureSelection({100, 50}, {300, 200});
    const SelectionSize backward = MeasureSelection({300, 200}, {100, 50});
    EXPECT_EQ(forward.width, 201);
    EXPECT_EQ(forward.height, 151);
    EXPECT_EQ(backward.width, forward.width);
    EXPECT_EQ(backward.height, forward.height);
    EXPECT_EQ(MeasureSelection({0, 0}, {1919, 1079}).width, 1920);
    // Client coordinates can be negative when the cursor leaves a smaller screen.
    EXPECT_EQ(MeasureSelection({-10, 0}, {10, 0}).width, 21);
}

TEST(PushReportText, SaysEveryStepWorked) {
    const long before = LiveOwnedTexts();
    EXPECT_EQ(ReportOf({640, 480}, {true, true}),
              "Selecci\xF3n posicionada en clipboard.\r\nDimensi\xF3n:  640 x 480");
    EXPECT_EQ(LiveOwnedTexts(), before);
    EXPECT_EQ(ReportStyle({true, true}), static_cast<std::uint32_t>(MB_ICONINFORMATION));
}

TEST(PushReportText, NamesTheStepsThatFailed) {
    EXPECT_EQ(ReportOf({1, 1}, {false, true}),
              "No se pudo poner la selecci\xF3n en el clipboard.\r\nDimensi\xF3n:  1 x 1");
    EXPECT_EQ(ReportOf({1920, 1080}, {true, false}),
              "Selecci\xF3n posicionada en clipboard.\r\nDimensi\xF3n:  1920 x 1080\r\n"
              "No se pudo guardar Retazo.bmp.");
    EXPECT_EQ(ReportOf({3, 2}, {false, false}),
              "No se pudo poner la selecci\xF3n en el clipboard.\r\nDimensi\xF3n:  3 x 2\r\n"
              "No se pudo guardar Retazo.bmp.");
    EXPECT_EQ(ReportStyle({false, true}), static_cast<std::uint32_t>(MB_ICONWARNING));
    EXPECT_EQ(ReportStyle({true, false}), static_cast<std::uint32_t>(MB_ICONWARNING));
}

}  // namespace
