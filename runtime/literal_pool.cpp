// The literal pool's image and its run-time copy.
#include "runtime/literal_pool.h"

#include <windows.h>

#include <cstring>

namespace {

// Windows-1252 bytes: "\xF3" is "ó".
constexpr LiteralPool kPoolImage = {
    {1, ""},
    {2, "\r\n"},
    {0, ""},
    {35, "Selecci\xF3n posicionada en clipboard."},
    {11, "Dimensi\xF3n: "},
    {2, " x"},
    {11, "Programador"},
    {10, "Retazo.bmp"},
    {4, "Open"},
    {WM_INITDIALOG, WM_DESTROY, WM_MOUSEMOVE, WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP, 500,
     static_cast<std::int32_t>(WS_POPUP), WS_EX_TOPMOST, 0x5000000D, static_cast<std::int32_t>(SRCCOPY),
     255, -2, 2, 0x200, 2, 14, MB_ICONINFORMATION, MAX_PATH, 8, SW_SHOWNORMAL, 16},
    {46, "No se pudo poner la selecci\xF3n en el clipboard."},
    {30, "No se pudo guardar Retazo.bmp."},
    {32, "No se pudo capturar la pantalla."},
};

// The nine texts and the 22 numbers keep their offsets: further literals only ever follow them.
static_assert(kLiteralPoolCoreSize == 232, "the texts and numbers at the head of the pool moved");

LiteralPool placedPool;
bool placed = false;

}  // namespace

void PlaceLiteralPool() {
    std::memcpy(&placedPool, &kPoolImage, sizeof placedPool);
    placed = true;
}

// Code that runs without the process start (the tests) finds the pool placed all the same.
const LiteralPool& Pool() {
    if (!placed) PlaceLiteralPool();
    return placedPool;
}
