// Lets a test script take part in the named-event handshakes of the peer programs:
//   named_event wait NAME MS   waits up to MS milliseconds for the event; exit 0 once signalled
//   named_event set NAME       signals the event
// Exit code 1 when the wait ran out, 2 on a usage or system failure.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 3) return 2;
    const std::wstring command = arguments[1];
    // Created if missing, so that the wait may start before the peer creates the event.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, arguments[2]);
    if (!event) return 2;
    int result = 2;
    if (command == L"wait" && count == 4)
        result = WaitForSingleObject(event, std::wcstoul(arguments[3], nullptr, 10)) == WAIT_OBJECT_0 ? 0 : 1;
    else if (command == L"set" && count == 3)
        result = SetEvent(event) ? 0 : 2;
    CloseHandle(event);
    LocalFree(arguments);
    return result;
}
