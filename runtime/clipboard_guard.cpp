// Opening the clipboard with a bounded wait for another task to close it.
#include "runtime/clipboard_guard.h"

namespace {

constexpr DWORD kPatienceMs = 250;
constexpr DWORD kRetryIntervalMs = 10;
constexpr int kMaxTries = kPatienceMs / kRetryIntervalMs + 1;

// Both bounds hold: a slow Sleep cannot stretch the wait past the patience, and a stalled tick
// count cannot make it endless.
bool OpenClipboardPatiently(HWND owner) {
    const ULONGLONG start = GetTickCount64();
    for (int tries = 1;; ++tries) {
        if (OpenClipboard(owner)) return true;
        const ULONGLONG waited = GetTickCount64() - start;
        if (tries == kMaxTries || waited + kRetryIntervalMs > kPatienceMs) return false;
        Sleep(kRetryIntervalMs);
    }
}

}  // namespace

ScopedClipboard::ScopedClipboard(HWND owner) : open_(OpenClipboardPatiently(owner)) {}
