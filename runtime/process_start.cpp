// Process start and end.
#include "runtime/process_start.h"

#include <commctrl.h>
#include <objbase.h>

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

void RefuseOtherPlatforms() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = kVersionRecordSize;
    (void)GetVersionExA(&version);  // a failed call leaves platform 0, which is refused below
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        MessageBoxA(nullptr, "Win98 No Support", nullptr, MB_TASKMODAL | MB_SETFOREGROUND);
        ExitProcess(kFailedStartExitCode);
    }
}

void InitializeSystemLibraries() {
    // As ShellExecuteEx's documentation asks. Start-up goes on either way: only the shell's open
    // request uses COM, and it is not checked.
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls = {sizeof controls, kCommonControlClasses};
    // A class that did not register shows later as a control that could not be made.
    (void)InitCommonControlsEx(&controls);
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
    RefuseOtherPlatforms();
    const int showCommand = StartupShowCommand();
    const wchar_t* arguments = SkipProgramName(GetCommandLineW());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!CreateMainThreadBlock()) ExitProcess(kFailedStartExitCode);
    InitializeSystemLibraries();
    InitializeStaticData(prepareProgram);
    EndProcess(mainRoutine(instance, nullptr, arguments, showCommand));
}
