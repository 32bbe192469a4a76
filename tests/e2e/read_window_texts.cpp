// Prints the texts of controls of another program's top-level window, one
// "id=text" line each, so a test can read what the calculator shows.
// Usage: read_window_texts CAPTION ID [ID...]; exits 1 when the window is missing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr)
        return 1;
    for (int i = 2; i < argc; ++i)
    {
        const int id = std::atoi(argv[i]);
        char text[512] = "";
        SendDlgItemMessageA(window, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        std::printf("%d=%s\n", id, text);
    }
    return 0;
}
