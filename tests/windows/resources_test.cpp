// The resources as drawn: every field of the main window's and the About
// box's templates, the manifest and the version record.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "resource_ids.h"

namespace
{

const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD SeatLabel = SS_RIGHT | SS_CENTERIMAGE | WS_GROUP;
const DWORD Entry = ES_RIGHT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD ResultField = SS_RIGHT | SS_CENTERIMAGE | SS_SUNKEN | WS_GROUP;

TemplateControl Row(int id, const char *cls, std::string text, DWORD style, short x, short y, short width,
                    short height, DWORD exStyle = 0)
{
    return TemplateControl{id, cls, text, style | Child, exStyle, x, y, width, height};
}

std::vector<TemplateControl> MainWindowControls()
{
    std::vector<TemplateControl> rows;
    rows.push_back(Row(IDC_SEAT_GROUP, "Button", "Players - Chips / $EV", BS_GROUPBOX, 10, 5, 160, 285));
    const char *labels[18] = {"&1.", "&2.", "&3.", "&4.", "&5.", "&6.", "&7.", "&8.", "&9.",
                              "1&0.", "11.", "12.", "13.", "14.", "15.", "16.", "17.", "18."};
    for (int n = 1; n <= 18; ++n)
    {
        const short y = static_cast<short>(15 * n);
        rows.push_back(Row(285 + n, "Static", labels[n - 1], SeatLabel, 20, y, 10, 13));
        rows.push_back(Row(249 + n, "Edit", "", Entry, 35, y, 60, 13));
        rows.push_back(Row(267 + n, "Static", "", ResultField, 100, y, 60, 13));
    }
    rows.push_back(Row(IDC_PAYOUT_GROUP, "Button", "Payouts", BS_GROUPBOX, 180, 5, 95, 165));
    for (int n = 1; n <= 10; ++n)
    {
        const short y = static_cast<short>(15 * n);
        rows.push_back(Row(-1, "Static", std::to_string(n) + ".", SeatLabel, 190, y, 10, 13));
        rows.push_back(Row(219 + n, "Edit", "", Entry, 205, y, 60, 13));
    }
    rows.push_back(Row(IDC_PLAYERS, "Button", "&Player 18", BS_PUSHBUTTON | WS_TABSTOP, 200, 190, 55, 13));
    rows.push_back(Row(IDC_CALCULATE, "Button", "&Calculate", BS_DEFPUSHBUTTON | WS_TABSTOP, 200, 230, 55, 13));
    rows.push_back(Row(IDC_EXIT, "Button", "E&xit", BS_PUSHBUTTON | WS_TABSTOP, 200, 270, 55, 13));
    return rows;
}

std::vector<TemplateControl> AboutControls()
{
    return {
        Row(-1, "Static", "#100", SS_ICON | SS_REALSIZEIMAGE, 5, 5, 20, 20),
        Row(11, "Static", "Ostrel V2.10 (Build 9)", SS_CENTER | SS_CENTERIMAGE | WS_GROUP, 25, 5, 130, 20,
            WS_EX_TRANSPARENT),
        Row(12, "Static", "Ostrel Calculator", SS_CENTER | SS_CENTERIMAGE | WS_GROUP, 5, 30, 150, 12),
        Row(13, "Static", "Copyright \xA9 2026 the Ostrel authors", SS_CENTER | WS_GROUP, 5, 45, 150, 12),
        Row(-1, "Static", "", SS_GRAYRECT, 5, 60, 150, 1),
        Row(1, "Button", "O&k", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 65, 64, 40, 12),
    };
}

std::vector<TemplateControl> ExtraPayoutsControls()
{
    std::vector<TemplateControl> rows;
    for (int place = 11; place <= 30; ++place)
    {
        const short column = place <= 20 ? 0 : 1;
        const short y = static_cast<short>(5 + 15 * ((place - 11) % 10));
        rows.push_back(Row(-1, "Static", std::to_string(place) + ".", SeatLabel, static_cast<short>(5 + 85 * column), y,
                           10, 13));
        rows.push_back(Row(219 + place, "Edit", "", Entry, static_cast<short>(20 + 85 * column), y, 60, 13));
    }
    rows.push_back(Row(IDC_OK, "Button", "&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 25, 160, 45, 13));
    rows.push_back(Row(IDC_CANCEL, "Button", "&Cancel", BS_PUSHBUTTON | WS_TABSTOP, 100, 160, 45, 13));
    return rows;
}

std::vector<TemplateControl> BubbleControls()
{
    return {
        Row(-1, "Static", "&Players", SeatLabel, 5, 5, 30, 13),
        Row(IDC_BUBBLE_PLAYERS, "Edit", "", Entry, 40, 5, 60, 13),
        Row(-1, "Static", "C&hips", SeatLabel, 5, 20, 30, 13),
        Row(IDC_BUBBLE_CHIPS, "Edit", "", Entry, 40, 20, 60, 13),
        Row(-1, "Static", "$EV(1)", SeatLabel, 110, 5, 25, 13),
        Row(IDC_BUBBLE_EV1, "Static", "", ResultField, 140, 5, 60, 13),
        Row(-1, "Static", "$EV(2)", SeatLabel, 110, 20, 25, 13),
        Row(IDC_BUBBLE_EV2, "Static", "", ResultField, 140, 20, 60, 13),
        Row(-1, "Static", "Bubble factor", SeatLabel, 50, 40, 45, 13),
        Row(IDC_BUBBLE_FACTOR, "Static", "", ResultField, 100, 40, 55, 13),
        Row(IDC_BUBBLE_OPEN, "Button", "&Open", BS_PUSHBUTTON | WS_TABSTOP, 15, 65, 45, 13),
        Row(IDC_BUBBLE_DO_IT, "Button", "&Do it", BS_DEFPUSHBUTTON | WS_TABSTOP, 80, 65, 45, 13),
        Row(IDC_CANCEL, "Button", "&Close", BS_PUSHBUTTON | WS_TABSTOP, 145, 65, 45, 13),
    };
}

void ExpectControls(const std::vector<TemplateControl> &expected, const DialogTemplate &dialog)
{
    ASSERT_EQ(expected.size(), dialog.Controls.size());
    std::set<int> ids;
    for (size_t i = 0; i < expected.size(); ++i)
    {
        const TemplateControl &want = expected[i];
        const TemplateControl &got = dialog.Controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(want.Id));
        EXPECT_EQ(want.Id, got.Id);
        EXPECT_EQ(want.Class, got.Class);
        EXPECT_EQ(want.Text, got.Text);
        EXPECT_EQ(want.Style, got.Style);
        EXPECT_EQ(want.ExStyle, got.ExStyle);
        EXPECT_EQ(want.X, got.X);
        EXPECT_EQ(want.Y, got.Y);
        EXPECT_EQ(want.Width, got.Width);
        EXPECT_EQ(want.Height, got.Height);
        if (got.Id != -1)
        {
            EXPECT_TRUE(ids.insert(got.Id).second) << "identifier used twice";
        }
    }
}

const DWORD ModalStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS | DS_CENTERMOUSE;

TEST(Resources, DialogTemplatesAreAsDrawn)
{
    const struct
    {
        int Id;
        DWORD Style;
        const char *Caption;
        const char *Menu;
        short Width;
        short Height;
        WORD PointSize;
        std::vector<TemplateControl> Controls;
    } rows[] = {
        {IDD_MAIN, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT | DS_FIXEDSYS,
         "Ostrel Calculator", "#102", 285, 295, 8, MainWindowControls()},
        {IDD_ABOUT, ModalStyle, "About Ostrel", "", 160, 80, 10, AboutControls()},
        {IDD_EXTRA_PAYOUTS, ModalStyle, "Payouts over 10", "", 170, 180, 8, ExtraPayoutsControls()},
        {IDD_BUBBLE, ModalStyle, "Bubble factor calculation", "", 205, 85, 8, BubbleControls()},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Caption);
        DialogTemplate dialog;
        ASSERT_TRUE(ReadDialogTemplate(row.Id, &dialog));
        EXPECT_EQ(row.Style, dialog.Style);
        EXPECT_EQ(0u, dialog.ExStyle);
        EXPECT_EQ(row.Caption, dialog.Caption);
        EXPECT_EQ(row.Menu, dialog.Menu);
        EXPECT_EQ(row.Width, dialog.Width);
        EXPECT_EQ(row.Height, dialog.Height);
        EXPECT_EQ(row.PointSize, dialog.PointSize);
        EXPECT_EQ(400, dialog.Weight);
        EXPECT_EQ(1, dialog.Charset);
        EXPECT_EQ("MS Shell Dlg", dialog.Font);
        ExpectControls(row.Controls, dialog);
    }
}

TEST(Resources, MenuHoldsItsItemsAndSeparatorsInOrder)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(2, GetMenuItemCount(menu));
    HMENU file = GetSubMenu(menu, 0);
    const struct
    {
        int Id; // 0 separator, -1 submenu
        const char *Text;
    } fileItems[] = {{IDC_PLAYERS, "Players"},
                     {IDC_CALCULATE, "&Calculate\tAlt+C"},
                     {0, ""},
                     {IDM_BUBBLE, "&Bubble factor\tAlt+B"},
                     {-1, "&Payout"},
                     {0, ""},
                     {IDC_EXIT, "E&xit\tAlt+X"}};
    ASSERT_EQ(7, GetMenuItemCount(file));
    for (int i = 0; i < 7; ++i)
    {
        char text[64] = "";
        GetMenuStringA(file, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(fileItems[i].Text, text) << i;
        const UINT id = GetMenuItemID(file, i);
        if (fileItems[i].Id > 0)
        {
            EXPECT_EQ(static_cast<UINT>(fileItems[i].Id), id) << i;
        }
        else if (fileItems[i].Id == 0)
        {
            EXPECT_TRUE(GetMenuState(file, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) << i;
        }
    }
    HMENU payout = GetSubMenu(file, 4);
    ASSERT_EQ(3, GetMenuItemCount(payout));
    EXPECT_EQ(static_cast<UINT>(IDM_MORE_PAYOUTS), GetMenuItemID(payout, 0));
    EXPECT_EQ(static_cast<UINT>(IDM_OPEN_PAYOUTS), GetMenuItemID(payout, 1));
    EXPECT_EQ(static_cast<UINT>(IDM_SAVE_PAYOUTS), GetMenuItemID(payout, 2));
    char help[32] = "";
    GetMenuStringA(menu, 1, help, sizeof help, MF_BYPOSITION);
    EXPECT_STREQ("&Help", help);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUT), GetMenuItemID(GetSubMenu(menu, 1), 0));
    DestroyMenu(menu);
}

std::string ResourceText(LPCSTR type, LPCSTR name)
{
    HRSRC found = FindResourceA(nullptr, name, type);
    if (found == nullptr)
        return "";
    const char *data = static_cast<const char *>(LockResource(LoadResource(nullptr, found)));
    return std::string(data, SizeofResource(nullptr, found));
}

TEST(Resources, ManifestAsksForInvokerLevelStylesAndDpiAwareness)
{
    const std::string manifest = ResourceText(reinterpret_cast<LPCSTR>(RT_MANIFEST), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    for (const char *part : {"level=\"asInvoker\"", "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                             "<dpiAware", ">true</dpiAware>", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

TEST(Resources, VersionRecordIs2_10_0_9)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(MAKELONG(10, 2), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(9, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(10, 2), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(9, 0), fixed->dwProductVersionLS);
    char *description = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\FileDescription",
                               reinterpret_cast<void **>(&description), &length));
    EXPECT_STREQ("Ostrel Calculator", description);
}

TEST(Resources, IconHasThreeSizes)
{
    for (int size : {16, 32, 48})
    {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_OSTREL), IMAGE_ICON, size, size, 0));
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO info = {};
        GetIconInfo(icon, &info);
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

} // namespace
