// Process start and end, run in child processes: arguments, show command, prepared state, exit codes.
#include "runtime/process_start.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdint>
#include <cwchar>
#include <string>

#include "runtime/font_table.h"
#include "runtime/runtime_error.h"
#include "runtime/thread_block.h"
#include "tests/support/import_patch_test_support.h"

namespace {

TEST(SkipProgramName, LeavesTheArgumentText) {
    EXPECT_STREQ(SkipProgramName(L"\"C:\\Program Files\\Retazo.exe\"   x"), L"x");
    EXPECT_STREQ(SkipProgramName(L"Retazo.exe x  y "), L"x  y ");
    EXPECT_STREQ(SkipProgramName(L"Retazo.exe"), L"");
    EXPECT_STREQ(SkipProgramName(L"\"C:\\Retazo.exe x"), L"");
    EXPECT_STREQ(SkipProgramName(L""), L"");
    EXPECT_STREQ(SkipProgramName(L"\"\""), L"");
}

TEST(SkipProgramName, OnlySpacesSeparateTheArguments) {
    EXPECT_STREQ(SkipProgramName(L"Retazo.exe\tx"), L"\tx");
    EXPECT_STREQ(SkipProgramName(L"Retazo.exe \tx"), L"\tx");
    EXPECT_STREQ(SkipProgramName(L"\"Retazo.exe\"\tx"), L"\tx");
    // A command line that starts with spaces has no program name.
    EXPECT_STREQ(SkipProgramName(L"   x y"), L"x y");
}

// Tests that start this program again run their own test alone, with this variable set.
constexpr wchar_t kChildVariable[] = L"RETAZO_RUNTIME_CHILD";
constexpr DWORD kChildWait = 60000;
constexpr DWORD kChildFailed = 0xFFFFFFFF;

bool IsChild() { return GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0; }

// Runs the current test in a child process started with the given start-up information and
// returns its exit code.
DWORD RunChild(DWORD startupFlags, WORD showWindow) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = std::wstring(L"\"") + path + L"\" --gtest_filter=";
    for (const char* name : {test->test_suite_name(), ".", test->name()}) {
        while (*name) commandLine += static_cast<wchar_t>(*name++);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = startupFlags;
    startup.wShowWindow = showWindow;
    PROCESS_INFORMATION process = {};
    SetEnvironmentVariableW(kChildVariable, L"1");
    const BOOL started = CreateProcessW(path, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    if (!started) return kChildFailed;
    DWORD exitCode = kChildFailed;
    if (WaitForSingleObject(process.hProcess, kChildWait) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        TerminateProcess(process.hProcess, kChildFailed);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

TEST(StartupShowCommand, FollowsTheStartupInformation) {
    if (IsChild()) ExitProcess(static_cast<UINT>(StartupShowCommand()));
    EXPECT_EQ(RunChild(STARTF_USESHOWWINDOW, SW_SHOWMINIMIZED), DWORD{SW_SHOWMINIMIZED});
    EXPECT_EQ(RunChild(STARTF_USESHOWWINDOW, SW_HIDE), DWORD{SW_HIDE});
    EXPECT_EQ(RunChild(0, SW_SHOWMINIMIZED), DWORD{SW_SHOWDEFAULT});
}

// The main routine of the child below: the first failed check's number, or kStarted.
constexpr int kStarted = 77;
bool programStateCleared = false;
DWORD comFlags = 0;
decltype(&CoInitializeEx) systemCoInitializeEx = nullptr;

HRESULT WINAPI RecordingCoInitializeEx(void* reserved, DWORD flags) {
    comFlags = flags;
    return systemCoInitializeEx(reserved, flags);
}

// Exception masks, precision and rounding of the x87 control word.
std::uint16_t FloatControlWord() {
    std::uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word & 0x0F3F;
}

int CheckStartedProcess(HINSTANCE instance, HINSTANCE previous, const wchar_t* arguments,
                        int showCommand) {
    if (instance != GetModuleHandleW(nullptr) || previous != nullptr) return 1;
    if (std::wcsncmp(arguments, L"--gtest_filter=", 15) != 0) return 2;
    if (showCommand != SW_SHOWMINNOACTIVE) return 3;
    if (!programStateCleared) return 4;
    if (FloatControlWord() != 0x033F) return 5;
    const ThreadBlock* block = InformationBlockThreadBlock();
    if (!block || block != GetThreadBlock()) return 6;
    if (block->dialogFont != 1 || block->codePage != kTextCodePage) return 6;
    const FontRecord* font = FindFont(1);
    if (!font || font->pointSize != 8) return 7;
    if (std::wcscmp(font->logFont.lfFaceName, L"MS Sans Serif") != 0) return 7;
    if (!FindFont(2) || !FindFont(3) || FindFont(4)) return 8;
    // COM is already initialised on this thread, in its own apartment and without OLE 1 DDE.
    const HRESULT com = CoInitialize(nullptr);
    if (SUCCEEDED(com)) CoUninitialize();
    if (com != S_FALSE || comFlags != (COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) return 9;
    return kStarted;
}

TEST(RunProcess, CallsTheMainRoutineAndExitsWithItsResult) {
    if (IsChild()) {
        ScopedImportPatch com("ole32.dll", "CoInitializeEx", reinterpret_cast<const void*>(&RecordingCoInitializeEx));
        systemCoInitializeEx = com.original<decltype(&CoInitializeEx)>();
        RunProcess(CheckStartedProcess, [] { programStateCleared = true; });
    }
    EXPECT_EQ(RunChild(STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE), static_cast<DWORD>(kStarted));
}

TEST(RaiseRuntimeError, FatalCodesEndTheProcessWith255) {
    if (IsChild()) {
        RaiseRuntimeError(kFirstFatalError);
        ExitProcess(1);
    }
    EXPECT_EQ(RunChild(0, 0), 255u);
}

}  // namespace
