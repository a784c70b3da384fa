// Process start and end.
#include "runtime/process_start.h"

#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "runtime/float_control.h"
#include "runtime/font_table.h"
#include "runtime/thread_block.h"

namespace {

constexpr UINT kFailedStartExitCode = 255;
constexpr DWORD kVersionRecordSize = 148;
constexpr DWORD kCommonControlClasses = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                        ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                        ICC_HOTKEY_CLASS | ICC_PAGESCROLLER_CLASS |
                                        ICC_NATIVEFNTCTL_CLASS | ICC_STANDARD_CLASSES;
static_assert(kCommonControlClasses == 0x706F);
// The system DLLs that the window system, the message box and the shell load by bare name, as
// public hardening lists of portable programs name them.
constexpr const wchar_t* kSystemDllsLoadedByName[] = {
    L"uxtheme.dll", L"userenv.dll", L"setupapi.dll", L"apphelp.dll", L"propsys.dll",
    L"dwmapi.dll",  L"cryptbase.dll", L"oleacc.dll", L"clbcatq.dll", L"version.dll",
};

// A function that an older Windows may lack, found at run time: null where it is missing.
template <typename Function>
Function FindSystemFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through the one function type that converts to every other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The version record, cleared first: a failed call leaves platform and version 0.
OSVERSIONINFOA ReadVersion() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = kVersionRecordSize;
    (void)GetVersionExA(&version);
    return version;
}

bool IsWindowsVista() {
    const OSVERSIONINFOA version = ReadVersion();
    return version.dwMajorVersion == 6 && version.dwMinorVersion == 0;
}

// Windows 8 has SetDefaultDllDirectories, Windows 7 and Vista only with update KB2533623: the
// header declares it whatever the Windows version compiled for, so it is found at run time.
bool SearchSystem32Only() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories = FindSystemFunction<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Loads each DLL of the list from system32 by its full path, its own dependencies searched from
// there first, so that a later load by bare name finds it already loaded.
void PreloadSystemDlls() {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(folder.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    folder.resize(length);
    folder += L'\\';
    for (const wchar_t* name : kSystemDllsLoadedByName) {
        // One that this Windows does not have is not loaded by name either.
        (void)LoadLibraryExW((folder + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

// A DLL planted in the program's own folder (a Downloads folder, say) under the name of a system
// DLL that is loaded later by bare name (uxtheme by the common controls, more by the message box
// and the shell) would run inside the process: that folder is searched before system32. From here
// on a bare name is searched for in system32 only, and never in the current directory. Where that
// cannot be asked for (Windows 7 without its update) or is reported to break the shell's object
// creation (Vista), the system DLLs known to be loaded by name are loaded from system32 at once.
void HardenDllSearch() {
    (void)SetDllDirectoryW(L"");
    if (!IsWindowsVista() && SearchSystem32Only()) return;
    PreloadSystemDlls();
}

// A failed version call leaves platform 0, which is refused.
void RefuseOtherPlatforms() {
    if (ReadVersion().dwPlatformId != VER_PLATFORM_WIN32_NT) {
        MessageBoxA(nullptr, "Win98 No Support", nullptr, MB_TASKMODAL | MB_SETFOREGROUND);
        ExitProcess(kFailedStartExitCode);
    }
}

// The common controls are loaded by name only here, once the search order is safe: as a static
// import they would load uxtheme before the program's first instruction. The manifest's
// activation context still gives version 6.
void InitializeCommonControls() {
    auto initCommonControlsEx = FindSystemFunction<decltype(&InitCommonControlsEx)>(
        LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls = {sizeof controls, kCommonControlClasses};
    // A class that did not register shows later as a control that could not be made.
    if (initCommonControlsEx) (void)initCommonControlsEx(&controls);
}

void InitializeSystemLibraries() {
    // As ShellExecuteEx's documentation asks. Start-up goes on either way: only the shell's open
    // request uses COM, and it is not checked.
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    InitializeCommonControls();
}

void InitializeStaticData(void (*prepareProgram)()) {
    prepareProgram();
    LoadFloatControl();
    CreateInitialFontTable();
}

[[noreturn]] void EndProcess(int result) {
    ReleaseThreadBlock();
    ReleaseThreadRuntime();
    CoUninitialize();
    ExitProcess(static_cast<UINT>(result));
}

}  // namespace

const wchar_t* SkipProgramName(const wchar_t* commandLine) {
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else if (*p != L' ') {
        // An unquoted name ends at a space or any other control character.
        while (*p > L' ') ++p;
    }
    // Tabs belong to the argument text.
    while (*p == L' ') ++p;
    return p;
}

int StartupShowCommand() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

void RunProcess(int (*mainRoutine)(HINSTANCE, HINSTANCE, const wchar_t*, int),
                void (*prepareProgram)()) {
    HardenDllSearch();
    RefuseOtherPlatforms();
    const int showCommand = StartupShowCommand();
    const wchar_t* arguments = SkipProgramName(GetCommandLineW());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!CreateMainThreadBlock()) ExitProcess(kFailedStartExitCode);
    InitializeSystemLibraries();
    InitializeStaticData(prepareProgram);
    EndProcess(mainRoutine(instance, nullptr, arguments, showCommand));
}
