/*
 * Entry point of ostrel.exe: the settings path, the main window and the one
 * message loop, which gives the accelerators first say, then the dialog
 * manager, then ordinary dispatch.
 */
#include <windows.h>

#include "main_window.h"
#include "resource_ids.h"
#include "settings_file.h"
#include "tournament_state.h"

// MainWindow is read anew for every message. Returns the quit message's code.
static int RunMessageLoop(HACCEL accelerators)
{
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        if (TranslateAcceleratorA(TournamentState.MainWindow, accelerators, &message))
            continue;
        if (IsDialogMessageA(TournamentState.MainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    TournamentState.AppInstance = instance;
    MakeSettingsPath(instance, TournamentState.SettingsPath);
    SplitDirectory(TournamentState.SettingsPath, TournamentState.SettingsDir);
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    TournamentState.MainWindow = window;
    if (window == nullptr)
        return -1;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return RunMessageLoop(accelerators);
}
