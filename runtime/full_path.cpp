// The absolute form of a file name, in a buffer the system sizes for us, and its extended form.
#include "runtime/full_path.h"

#include <windows.h>

std::wstring FullPathName(const wchar_t* path) {
    // The first call gives the size with the terminator; the directory can change in between,
    // so a second answer that no longer fits is a failure rather than a truncated name.
    const DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path, needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

// The prefix turns off the system's own path parsing, so it goes only before a path that
// GetFullPathNameW has already normalised: separators, "." and ".." resolved.
std::wstring ExtendedLengthPath(const std::wstring& full) {
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    const bool device = full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0;
    if (full.compare(0, 2, L"\\\\") == 0 && !device) return L"\\\\?\\UNC" + full.substr(1);
    return full;
}
