// What an attacker plants beside a program under the name of a system DLL (it is built as
// uxtheme.dll): once loaded into a process, it leaves a file named "planted-dll-ran" beside itself.
#include <windows.h>

#include <string>

namespace {

void LeaveMarkerBeside(HINSTANCE self) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return;
    std::wstring marker(path, length);
    marker.resize(marker.find_last_of(L'\\') + 1);
    marker += L"planted-dll-ran";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarkerBeside(self);
    return TRUE;
}
