// Keeps a file open without sharing, so that no other process can open, replace or delete it.
//   usage: file_holder <path> <event prefix> <hold ms>
// Signals <prefix>-holding once the file is open and closes it after <hold ms> or when
// <prefix>-release is signalled. Exit code 0, or 2 when it could not open the file.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    if (argc != 4) return 2;
    const std::wstring prefix = argv[2];
    const DWORD holdMs = wcstoul(argv[3], nullptr, 10);
    HANDLE holding = CreateEventW(nullptr, TRUE, FALSE, (prefix + L"-holding").c_str());
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, (prefix + L"-release").c_str());
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (!holding || !release || file == INVALID_HANDLE_VALUE) return 2;
    SetEvent(holding);
    WaitForSingleObject(release, holdMs);
    CloseHandle(file);
    return 0;
}
