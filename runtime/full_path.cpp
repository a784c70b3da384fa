// The absolute form of a file name, in a buffer the system sizes for us.
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
