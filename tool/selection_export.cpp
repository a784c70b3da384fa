#include "tool/selection_export.h"

#include <windows.h>
#include <shellapi.h>

#include "graphics/bitmap_file.h"
#include "graphics/clipboard_bitmap.h"
#include "graphics/copy_graphic.h"
#include "graphics/graphic_target.h"
#include "runtime/literal_pool.h"
#include "runtime/text_operations.h"
#include "tool/selection_report.h"
#include "tool/tool_state.h"

namespace {

constexpr std::uint32_t kFileNameSize = 260;

// The selection bitmap becomes the current graphic target, holding the selected screen pixels.
void CropSelection(SelectionSize size) {
    ToolState& tool = Tool();
    tool.selectionBitmap = NewGraphicBitmap(size.width, size.height);
    AttachGraphic(tool.selectionBitmap, 0, 0);
    CopyGraphicRegion(tool.screenBitmap, 0, static_cast<float>(tool.anchor.x), static_cast<float>(tool.anchor.y),
                      static_cast<float>(tool.current.x), static_cast<float>(tool.current.y), 0, 0, SRCCOPY);
}

// A clipboard that could not be emptied keeps what it had: the clip is not mixed into it.
bool PutSelectionOnClipboard() {
    return ResetClipboard() != 0 && SetClipboardBitmap(Tool().selectionBitmap) != 0;
}

bool SaveSelectionFile(char (&fileName)[kFileNameSize]) {
    TextStack stack;
    PushLiteral(stack, Pool().fileName);
    StoreFixedText(stack, fileName, kFileNameSize);
    PushFixedText(stack, fileName);
    ConvertToWide(stack, 0);
    return SaveGraphicBitmap(stack) != 0;
}

// The shell gets empty strings, not null pointers, for the parameters and the directory.
void OpenSelectionFile(const char* fileName) {
    TextStack stack;
    PushLiteral(stack, Pool().openVerb);
    AnsiArgument verb(stack);
    PushLiteral(stack, Pool().zeroCharacter);
    AnsiArgument parameters(stack);
    PushLiteral(stack, Pool().zeroCharacter);
    AnsiArgument directory(stack);
    ShellExecuteA(Tool().dialog, verb.get(), fileName, parameters.get(), directory.get(), SW_SHOWNORMAL);
}

}  // namespace

void ExportSelection() {
    const ToolState& tool = Tool();
    const SelectionSize size = MeasureSelection(tool.anchor, tool.current);
    CropSelection(size);
    char fileName[kFileNameSize] = {};
    ExportOutcome outcome{};
    outcome.onClipboard = PutSelectionOnClipboard();
    outcome.fileWritten = SaveSelectionFile(fileName);
    ShowReport(size, outcome);
    if (outcome.fileWritten) OpenSelectionFile(fileName);
}
