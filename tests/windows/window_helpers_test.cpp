// Centring arithmetic, the cursor and copy helpers, the colour rules and the
// About box run modally and closed with Enter, Escape and the close box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "about_dialog.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"
#include "window_test_support.h"

namespace
{

RECT Extent(LONG left, LONG top, LONG width, LONG height)
{
    return RECT{left, top, width, height};
}

TEST(CenteredPosition, HalvesDownAndClampsOneEdgePerAxis)
{
    const RECT work = {0, 0, 1024, 738};
    const struct
    {
        const char *Name;
        RECT Window;
        RECT Reference;
        LONG X;
        LONG Y;
    } rows[] = {
        {"300 wide on 101 wide at 500", Extent(0, 0, 300, 100), Extent(500, 300, 101, 100), 400, 300},
        {"odd negative difference rounds down", Extent(0, 0, 103, 100), Extent(500, 300, 100, 100), 498, 300},
        {"work area 1024x738", Extent(0, 0, 300, 200), Extent(0, 0, 1024, 738), 362, 269},
        {"left of the work area goes to its left edge", Extent(0, 0, 300, 200), Extent(-400, 100, 100, 200), 0, 100},
        {"wider than the work area stays at its left edge", Extent(0, 0, 1200, 200), Extent(-50, 100, 100, 200), 0, 100},
        {"past the right edge meets it", Extent(0, 0, 300, 200), Extent(900, 100, 100, 200), 724, 100},
        {"wider and past the right edge is left of the area", Extent(0, 0, 1100, 200), Extent(400, 100, 400, 200), -76, 100},
        {"above the top goes to the top", Extent(0, 0, 300, 200), Extent(100, -300, 300, 100), 100, 0},
        {"past the bottom meets it", Extent(0, 0, 300, 200), Extent(100, 700, 300, 100), 100, 538},
        {"taller and past the bottom is above the area", Extent(0, 0, 300, 800), Extent(100, 300, 300, 500), 100, -62},
    };
    for (const auto &row : rows)
    {
        const POINT at = CenteredPosition(row.Window, row.Reference, work);
        EXPECT_EQ(row.X, at.x) << row.Name;
        EXPECT_EQ(row.Y, at.y) << row.Name;
    }
}

HWND MakeTopLevel(int x, int y, int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(CenterWindow, MovesWithoutResizingOntoTheReference)
{
    HWND reference = MakeTopLevel(500, 200, 101, 300);
    HWND window = MakeTopLevel(0, 0, 300, 100);
    CenterWindow(window, reference);
    const RECT extent = GetWindowExtent(window);
    EXPECT_EQ(400, extent.left);
    EXPECT_EQ(300, extent.top);
    EXPECT_EQ(300, extent.right);
    EXPECT_EQ(100, extent.bottom);
    CenterWindow(window, nullptr);
    const RECT work = GetWorkArea();
    const RECT centred = GetWindowExtent(window);
    EXPECT_EQ(work.left + (work.right - 300) / 2, centred.left);
    EXPECT_EQ(work.top + (work.bottom - 100) / 2, centred.top);
    DestroyWindow(window);
    DestroyWindow(reference);
}

TEST(CopyBytes, CopiesFrontToBackAndIgnoresNulls)
{
    unsigned char buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CopyBytes(buffer + 1, buffer, 4);
    const unsigned char forward[8] = {1, 1, 1, 1, 1, 6, 7, 8};
    EXPECT_EQ(0, std::memcmp(forward, buffer, 8)) << "an overlapping copy shows the front-to-back order";
    CopyBytes(nullptr, buffer, 4);
    CopyBytes(buffer, nullptr, 4);
    EXPECT_EQ(0, std::memcmp(forward, buffer, 8));
}

TEST(LoadWindowCursor, MakesTheArrowTheClassCursor)
{
    HWND window = MakeTopLevel(0, 0, 10, 10);
    SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_CROSS)));
    LoadWindowCursor(window, nullptr, IDC_ARROW);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)),
              static_cast<LONG_PTR>(GetClassLongPtrA(window, GCLP_HCURSOR)));
    DestroyWindow(window);
}


void PressKeyInDialog(HWND dialog, WPARAM key)
{
    HWND focus = GetFocus();
    PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, key, 0);
}

void CheckAboutAndPressEnter(HWND dialog)
{
    char text[128];
    GetDlgItemTextA(dialog, IDC_ABOUT_VERSION, text, sizeof text);
    EXPECT_STREQ("Ostrel V2.10 (Build 9)", text);
    GetDlgItemTextA(dialog, IDC_ABOUT_PRODUCT, text, sizeof text);
    EXPECT_STREQ("Ostrel Calculator", text);
    GetDlgItemTextA(dialog, IDC_ABOUT_NOTICE, text, sizeof text);
    EXPECT_NE(nullptr, std::strstr(text, "Ostrel authors"));
    EXPECT_EQ(GetDlgItem(dialog, IDC_OK), GetFocus());
    const AnsweredColors version = AskColors(dialog, IDC_ABOUT_VERSION, WM_CTLCOLORSTATIC);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), version.Brush);
    PressKeyInDialog(dialog, VK_RETURN);
}

void PressEscape(HWND dialog)
{
    PressKeyInDialog(dialog, VK_ESCAPE);
}

void PressCloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST(AboutDialog, EnterEndsWithOneEscapeAndCloseBoxWithZero)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND owner = MakeTopLevel(100, 100, 600, 400);
    ShowWindow(owner, SW_SHOW);
    const struct
    {
        void (*Action)(HWND);
        INT_PTR Result;
    } rows[] = {{CheckAboutAndPressEnter, 1}, {PressEscape, 0}, {PressCloseBox, 0}};
    for (const auto &row : rows)
    {
        WhenDialogAppears("About Ostrel", row.Action);
        const INT_PTR result =
            DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
        EXPECT_EQ(row.Result, result);
    }
    StopAwaiting();
    DestroyWindow(owner);
}

RECT AboutExtent = {};
void MeasureAndClose(HWND dialog)
{
    AboutExtent = GetWindowExtent(dialog);
    EndDialog(dialog, 0);
}

TEST(AboutDialog, IsCentredOnItsOwner)
{
    HWND owner = MakeTopLevel(200, 150, 600, 400);
    ShowWindow(owner, SW_SHOW);
    WhenDialogAppears("About Ostrel", MeasureAndClose);
    RunAboutDialog(GetModuleHandleA(nullptr), owner, IDD_ABOUT);
    EXPECT_EQ(200 + (600 - AboutExtent.right) / 2, AboutExtent.left);
    EXPECT_EQ(150 + (400 - AboutExtent.bottom) / 2, AboutExtent.top);
    StopAwaiting();
    DestroyWindow(owner);
}

} // namespace
