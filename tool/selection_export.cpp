// The export of the selection: clipboard, file, report, and the shell's open request.
#include "tool/selection_export.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "graphics/bitmap_file.h"
#include "graphics/clipboard_bitmap.h"
#include "graphics/copy_graphic.h"
#include "graphics/graphic_target.h"
#include "runtime/full_path.h"
#include "runtime/text_operations.h"
#include "tool/selection_report.h"
#include "tool/tool_literals.h"
#include "tool/tool_state.h"

namespace {

// The selection bitmap becomes the current graphic target, holding the selected screen pixels.
void CropSelection(SelectionSize size) {
    ToolState& tool = Tool();
    tool.selectionBitmap = NewGraphicBitmap(size.width, size.height);
    AttachGraphic(tool.selectionBitmap, 0, 0);
    CopyGraphicRegion(tool.screenBitmap, 0, static_cast<float>(tool.anchor.x), static_cast<float>(tool.anchor.y),
                      static_cast<float>(tool.current.x), static_cast<float>(tool.current.y), 0, 0, SRCCOPY);
}

// One open that empties and fills: a clipboard listener that reopens the clipboard after each
// change cannot come in between, and a failure leaves the user's clipboard as it was.
bool PutSelectionOnClipboard() { return ReplaceClipboardBitmap(Tool().selectionBitmap) != 0; }

bool SaveSelectionFile(char (&fileName)[kFileNameSize]) {
    TextStack stack;
    PushLiteral(stack, Pool().fileName);
    StoreFixedText(stack, fileName, kFileNameSize);
    PushFixedText(stack, fileName);
    ConvertToWide(stack, 0);
    return SaveGraphicBitmap(stack) != 0;
}

// The process ends right after this, while the shell may still be handing the request on to a
// viewer: NOASYNC makes it finish first. The full path keeps a long working directory from
// turning into "file not found"; no owner window, since the dialog is being destroyed.
void OpenSelectionFile(const char* fileName) {
    TextStack stack;
    PushLiteral(stack, Pool().openVerb);
    PushFixedText(stack, fileName);
    ConvertToWide(stack, 1);
    ConvertToWide(stack, 0);
    const std::wstring path = FullPathName(WideChars(stack.At(0)));
    if (path.empty()) return;
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOASYNC;
    request.lpVerb = WideChars(stack.At(1));
    request.lpFile = path.c_str();
    request.nShow = SW_SHOWNORMAL;
    (void)ShellExecuteExW(&request);  // the report is closed by now: nothing is left to tell
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
