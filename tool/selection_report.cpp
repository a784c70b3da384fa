// The boxes that tell the user how a run went: the export's report, or a failed photograph.
#include "tool/selection_report.h"

#include <windows.h>

#include <cstdlib>

#include "runtime/message_box.h"
#include "runtime/number_format.h"
#include "runtime/text_operations.h"
#include "tool/tool_literals.h"

namespace {

// The two coordinates are 32-bit, so their difference needs 64 bits.
std::int32_t SpanOf(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(std::llabs(static_cast<long long>(a) - b) + 1);
}

void AppendLine(TextStack& stack) {
    PushLiteral(stack, Pool().lineBreak);
    ConcatText(stack);
}

// "Dimensión:  640 x 480": the number format keeps a sign position before each number.
void AppendSizeLine(TextStack& stack, SelectionSize size) {
    PushLiteral(stack, Pool().sizeLabel);
    ConcatText(stack);
    FormatNumber(stack, size.width);
    ConcatText(stack);
    PushLiteral(stack, Pool().times);
    ConcatText(stack);
    FormatNumber(stack, size.height);
    ConcatText(stack);
}

// The box has no owner and comes after the overlay has handed the foreground on. Windows lets
// it take the foreground only if this process "received the last input event", which a pointer
// moved meanwhile gives away; then the box opened behind, with a flashing taskbar button.
// Topmost, it is in front all the same.
constexpr std::uint32_t kInFront = MB_SETFOREGROUND | MB_TOPMOST;

// Shows the text on top of the stack in a box titled "Programador", in front of other windows.
void ShowTitledBox(TextStack& stack, std::uint32_t style) {
    PushLiteral(stack, Pool().title);
    ConvertToWide(stack, 1);
    ConvertToWide(stack, 0);
    ShowMessageBox(stack, style | kInFront);
}

}  // namespace

SelectionSize MeasureSelection(POINT anchor, POINT current) {
    return {SpanOf(anchor.x, current.x), SpanOf(anchor.y, current.y)};
}

void PushReportText(TextStack& stack, SelectionSize size, ExportOutcome outcome) {
    if (outcome.onClipboard) {
        PushLiteral(stack, Pool().clipboardLine);
    } else {
        PushLiteral(stack, Pool().clipboardFailedLine);
    }
    AppendLine(stack);
    AppendSizeLine(stack, size);
    if (!outcome.fileWritten) {
        AppendLine(stack);
        PushLiteral(stack, Pool().fileFailedLine);
        ConcatText(stack);
    }
}

std::uint32_t ReportStyle(ExportOutcome outcome) {
    return outcome.onClipboard && outcome.fileWritten ? MB_ICONINFORMATION : MB_ICONWARNING;
}

void ShowReport(SelectionSize size, ExportOutcome outcome) {
    TextStack stack;
    PushReportText(stack, size, outcome);
    ShowTitledBox(stack, ReportStyle(outcome));
}

void ShowCaptureFailure() {
    TextStack stack;
    PushLiteral(stack, Pool().captureFailedLine);
    ShowTitledBox(stack, MB_ICONWARNING | MB_OK);
}
