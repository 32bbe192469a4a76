#include "window_test_support.h"

#include <cstdio>
#include <cstring>

#include "main_window.h"
#include "resource_ids.h"
#include "tournament_state.h"

std::string MakeTemporaryFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "%sostrel-test-%lu-%u\\", base, GetCurrentProcessId(), ++counter);
    CreateDirectoryA(folder, nullptr);
    return folder;
}

void RemoveFolder(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
                continue;
            const std::string path = folder + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path + "\\");
            else
            {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void PrepareTournamentState(const std::string &folder)
{
    ResetTournamentState();
    TournamentState.AppInstance = GetModuleHandleA(nullptr);
    std::snprintf(TournamentState.SettingsPath, sizeof TournamentState.SettingsPath, "%sostrel.ini",
                  folder.c_str());
    std::snprintf(TournamentState.SettingsDir, sizeof TournamentState.SettingsDir, "%s", folder.c_str());
}

HWND CreateMainWindow()
{
    HWND window = CreateDialogParamA(TournamentState.AppInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     MainDialogProc, 0);
    TournamentState.MainWindow = window;
    PumpMessages();
    return window;
}

void DestroyMainWindow(HWND window)
{
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
    TakeQuitMessage(nullptr);
}

void TypeInto(HWND dialog, int id, const char *text)
{
    HWND edit = GetDlgItem(dialog, id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    if (*text == '\0')
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (const char *c = text; *c; ++c)
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*c)), 0);
}

void PasteInto(HWND dialog, int id, const char *text)
{
    HWND edit = GetDlgItem(dialog, id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

std::string ControlText(HWND dialog, int id)
{
    char text[1024];
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool ControlEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool ControlVisible(HWND dialog, int id)
{
    return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

AnsweredColors AskColors(HWND dialog, int id, UINT message)
{
    HWND control = GetDlgItem(dialog, id);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    AnsweredColors answer = {};
    answer.Brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    answer.Text = GetTextColor(dc);
    answer.Background = GetBkColor(dc);
    RECT all = {0, 0, 4, 4};
    FillRect(dc, &all, answer.Brush != nullptr ? answer.Brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    answer.BrushColor = GetPixel(dc, 1, 1);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return answer;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
        {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool TakeQuitMessage(int *code)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
        {
            if (code != nullptr)
                *code = static_cast<int>(message.wParam);
            return true;
        }
        DispatchMessageA(&message);
    }
    return false;
}

// Runs `action` from a timer inside whatever modal loop runs, once `matches`
// finds a visible window of this thread. Every wait, and the time after the
// last action, lasts at most 20 s: then the test fails and every dialog but
// the main window is cancelled, so a dialog left open cannot hang the run.
struct AwaitedWindow
{
    std::string What;
    std::function<bool(HWND)> Matches; // null once the action has run
    std::function<void(HWND)> Action;
    DWORD Deadline = 0;
    UINT_PTR Timer = 0;
    bool GaveUp = false;
};
static AwaitedWindow Awaited;

static BOOL CALLBACK FindAwaitedWindow(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !Awaited.Matches(window))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

static BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    char kind[16];
    GetClassNameA(window, kind, sizeof kind);
    if (window != TournamentState.MainWindow && IsWindowVisible(window) && std::strcmp(kind, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

static void CALLBACK CheckAwaitedWindow(HWND, UINT, UINT_PTR, DWORD)
{
    if (Awaited.GaveUp)
    {
        EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
        return;
    }
    HWND found = nullptr;
    if (Awaited.Matches)
        EnumThreadWindows(GetCurrentThreadId(), FindAwaitedWindow, reinterpret_cast<LPARAM>(&found));
    if (found == nullptr)
    {
        if (GetTickCount() - Awaited.Deadline < 0x80000000u)
        {
            ADD_FAILURE() << (Awaited.Matches ? "never appeared: " : "still open after: ") << Awaited.What;
            Awaited.GaveUp = true;
        }
        return;
    }
    const std::function<void(HWND)> action = Awaited.Action;
    Awaited.Matches = nullptr;
    Awaited.Deadline = GetTickCount() + 20000;
    action(found);
}

void WhenWindowAppears(const std::string &what, std::function<bool(HWND)> matches,
                       std::function<void(HWND)> action)
{
    Awaited.What = what;
    Awaited.Matches = std::move(matches);
    Awaited.Action = std::move(action);
    Awaited.Deadline = GetTickCount() + 20000;
    Awaited.GaveUp = false;
    if (Awaited.Timer == 0)
        Awaited.Timer = SetTimer(nullptr, 0, 25, CheckAwaitedWindow);
}

void StopAwaiting()
{
    if (Awaited.Timer != 0)
        KillTimer(nullptr, Awaited.Timer);
    Awaited.Timer = 0;
}

static std::string Caption(HWND window)
{
    char caption[128] = "";
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

std::function<bool(HWND)> CaptionIs(const std::string &caption)
{
    return [caption](HWND window) { return Caption(window) == caption; };
}

// A message box the file dialog shows over itself.
std::function<bool(HWND)> OwnedBy(HWND owner)
{
    return [owner](HWND window) { return GetWindow(window, GW_OWNER) == owner; };
}

void WhenDialogAppears(const char *caption, void (*action)(HWND dialog))
{
    WhenWindowAppears(caption, CaptionIs(caption), action);
}

void MainWindowFixture::SetUp()
{
    Folder = MakeTemporaryFolder();
    PrepareTournamentState(Folder);
}

void MainWindowFixture::TearDown()
{
    StopAwaiting();
    DestroyMainWindow(Main);
    RemoveFolder(Folder);
}

void MainWindowFixture::OpenMainWindow()
{
    Main = CreateMainWindow();
    ASSERT_NE(nullptr, Main) << "is there an X display?";
}

static INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HWND MakeBlankDialog(HWND parent, DWORD style, int x, int y, int width, int height)
{
    struct
    {
        DLGTEMPLATE Head;
        WORD Menu, Class, Title;
    } blank = {};
    blank.Head.style = style;
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &blank.Head, parent, QuietProc, 0);
    SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return dialog;
}
