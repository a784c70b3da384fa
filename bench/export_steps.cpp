// The export of a whole-screen selection in process, step by step (crop, clipboard, file),
// against the least any program pays for the same: one WriteFile of as many bytes as the file
// holds, and one CF_DIB block of the selection's bytes, copied from memory already touched, put
// on the clipboard.
//   usage: export_steps [repeats]      (default 5; writes Retazo.bmp and write_floor.bin here)
#include <cstring>

#include "bench/bench_support.h"
#include "graphics/bitmap_file.h"
#include "graphics/clipboard_bitmap.h"
#include "graphics/copy_graphic.h"
#include "graphics/dib_header.h"
#include "graphics/graphic_target.h"
#include "runtime/clipboard_guard.h"
#include "runtime/process_start.h"
#include "runtime/text_operations.h"
#include "tool/capture_screen.h"

namespace {

struct StepTimes {
    std::vector<double> crop, clipboard, file, total, writeFloor, clipboardFloor, setClipboardData;
};

void Crop(ObjectHandle selection, DesktopSize desktop) {
    AttachGraphic(selection, 0, 0);
    CopyGraphicRegion(Tool().screenBitmap, 0, 0, 0, static_cast<float>(desktop.width - 1),
                      static_cast<float>(desktop.height - 1), 0, 0, SRCCOPY);
}

bool SaveFile() {
    TextStack stack;
    PushFixedText(stack, "Retazo.bmp");
    ConvertToWide(stack, 0);
    return SaveGraphicBitmap(stack) != 0;
}

LONGLONG FileBytes(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The floor: the same number of bytes, already in memory, written by one call.
bool WriteOnce(const void* bytes, DWORD count) {
    HANDLE file = CreateFileW(L"write_floor.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, count, &written, nullptr) && written == count;
    CloseHandle(file);
    return ok;
}

// The clipboard floor: a new movable block filled from `pixels`, handed to the clipboard. Its
// whole time, and the part of it that SetClipboardData takes.
bool PutOnClipboardOnce(const std::vector<BYTE>& pixels, DesktopSize desktop, StepTimes& times) {
    const double start = NowMs();
    ScopedGlobalBlock block(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + pixels.size());
    {
        const ScopedGlobalLock lock(block.get());
        auto* bytes = static_cast<BYTE*>(lock.get());
        if (!bytes) return false;
        const BITMAPINFOHEADER header = DibHeader(desktop.width, desktop.height, 32);
        std::memcpy(bytes, &header, sizeof header);
        std::memcpy(bytes + sizeof header, pixels.data(), pixels.size());
    }
    {
        // Windows takes data only from the window that emptied the clipboard.
        const ScopedMessageWindow owner;
        const ScopedClipboard clipboard(owner.get());
        if (!owner.get() || !clipboard.ok() || !EmptyClipboard()) return false;
        const double setting = NowMs();
        if (!SetClipboardData(CF_DIB, block.get())) return false;
        times.setClipboardData.push_back(NowMs() - setting);
        block.release();  // the clipboard's from now on
    }
    times.clipboardFloor.push_back(NowMs() - start);
    return true;
}

int BenchMain(HINSTANCE, HINSTANCE, const wchar_t* arguments, int) {
    const int repeats = ArgumentNumber(arguments, 5);
    const DesktopSize desktop = GetDesktopSize();
    CaptureScreen();
    double start = NowMs();
    const ObjectHandle selection = NewGraphicBitmap(desktop.width, desktop.height);
    const double newBitmapMs = NowMs() - start;

    StepTimes times;
    void* floorBytes = nullptr;
    DWORD fileBytes = 0;
    bool clipboardOk = true, fileOk = true, floorOk = true;
    const std::vector<BYTE> floorPixels(static_cast<std::size_t>(desktop.width) * desktop.height * 4, 0x5A);
    for (int repeat = 0; repeat < repeats; ++repeat) {
        start = NowMs();
        Crop(selection, desktop);
        const double cropped = NowMs();
        clipboardOk &= ReplaceClipboardBitmap(selection) != 0;
        const double onClipboard = NowMs();
        fileOk &= SaveFile();
        const double saved = NowMs();
        times.crop.push_back(cropped - start);
        times.clipboard.push_back(onClipboard - cropped);
        times.file.push_back(saved - onClipboard);
        times.total.push_back(saved - start);

        if (!floorBytes) {
            fileBytes = static_cast<DWORD>(FileBytes(L"Retazo.bmp"));
            floorBytes = VirtualAlloc(nullptr, fileBytes, MEM_COMMIT, PAGE_READWRITE);
            if (floorBytes) FillMemory(floorBytes, fileBytes, 0x5A);
        }
        start = NowMs();
        floorOk &= floorBytes && WriteOnce(floorBytes, fileBytes);
        times.writeFloor.push_back(NowMs() - start);
        floorOk &= PutOnClipboardOnce(floorPixels, desktop, times);
    }
    DeleteFileW(L"write_floor.bin");
    PrintResult("export_steps width=%d height=%d repeats=%d file_bytes=%lu clipboard_ok=%d file_ok=%d floor_ok=%d "
                "new_bitmap_ms=%.3f crop_ms=%.3f clipboard_ms=%.3f file_ms=%.3f export_ms=%.3f "
                "write_once_ms=%.3f clipboard_floor_ms=%.3f set_clipboard_data_ms=%.3f",
                desktop.width, desktop.height, repeats, fileBytes, clipboardOk, fileOk, floorOk, newBitmapMs,
                Median(times.crop), Median(times.clipboard), Median(times.file), Median(times.total),
                Median(times.writeFloor), Median(times.clipboardFloor), Median(times.setClipboardData));
    return 0;
}

}  // namespace

int main() { RunProcess(BenchMain, ClearToolState); }
