// Waits until the window system has taken in the left mouse button's new state:
//   button_watch down|up MS
// The state changes when the press or release enters a thread's input queue, which is also when
// the cursor position that goes with it is recorded. A test that waits for this before moving
// the pointer on knows that the program under the pointer will see the press where it happened.
// Exit code 0 once the state is seen, 1 when MS milliseconds pass first, 2 on a usage error.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "down") != 0 && std::strcmp(argv[1], "up") != 0)) return 2;
    const bool down = std::strcmp(argv[1], "down") == 0;
    const DWORD deadline = GetTickCount() + std::strtoul(argv[2], nullptr, 10);
    while (((GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) != down) {
        if (GetTickCount() >= deadline) return 1;
        Sleep(1);
    }
    return 0;
}
