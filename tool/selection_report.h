// The boxes that tell the user how a run went: the export's report, or a failed photograph.
#pragma once
#include <cstdint>

#include "runtime/text_stack.h"

struct SelectionSize {
    std::int32_t width;
    std::int32_t height;
};

// Both corner pixels belong to the selection, whichever way the drag went.
SelectionSize MeasureSelection(POINT anchor, POINT current);

struct ExportOutcome {
    bool onClipboard;
    bool fileWritten;
};

// Pushes the report text; its lines say only what really happened.
void PushReportText(TextStack& stack, SelectionSize size, ExportOutcome outcome);
// Information when every step worked, a warning otherwise.
std::uint32_t ReportStyle(ExportOutcome outcome);
// Shows the report box with the title "Programador" and waits until the user closes it.
void ShowReport(SelectionSize size, ExportOutcome outcome);
// Warns that the screen could not be photographed, so nothing was selected or exported.
void ShowCaptureFailure();
