// Posts a left-button release, with no press before it, to the dialog that covers a point:
//   post_release X Y   (screen coordinates)
// The message carries the point in the dialog's client coordinates, as a release under the
// pointer would. Exit code 0 once posted, 1 when no top-level dialog is there, 2 on a usage
// error.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // On a scaled desktop the screen and the tool's windows are measured in physical pixels.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc != 3) return 2;
    const POINT screen{std::atoi(argv[1]), std::atoi(argv[2])};
    const HWND dialog = GetAncestor(WindowFromPoint(screen), GA_ROOT);
    wchar_t name[16] = {};
    if (!dialog || !GetClassNameW(dialog, name, 16) || lstrcmpW(name, L"#32770") != 0) return 1;
    POINT client = screen;
    ScreenToClient(dialog, &client);
    return PostMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y)) ? 0 : 2;
}
