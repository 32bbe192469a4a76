/*
 * The common Open and Save dialogs for payout structure files. Each dialog
 * gets a hook of ours that centres it on its owner, switches the Open
 * dialog's file view to details once, and can refuse a chosen path.
 */
#include "file_dialogs.h"

#include <cstddef>

#include "main_window_refresh.h"
#include "resource_ids.h"
#include "settings_file.h"
#include "tournament_state.h"
#include "window_helpers.h"

// The record as platforms before the new shell know it, up to lpTemplateName:
// OPENFILENAME_SIZE_VERSION_400A, written so that the compiler can check it.
static const DWORD ShortRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);

#ifndef _WIN64
// The record sizes the program declares on 32-bit Windows.
static_assert(sizeof(OPENFILENAMEA) == 88, "OPENFILENAMEA is 88 bytes");
static_assert(ShortRecordSize == 76, "the older OPENFILENAMEA is 76 bytes");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");
#endif

const char PayoutFilter[] = "Payout structure (*.pos)\0*.pos\0";
const char PayoutExtension[] = ".pos";

bool IsNewShellPlatform()
{
    OSVERSIONINFOA version;
    ZeroFill(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

void ZeroFill(void *pointer, size_t count)
{
    if (pointer == nullptr)
        return;
    unsigned char *bytes = static_cast<unsigned char *>(pointer);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = 0;
}

// Platforms before the new shell know only the shorter record; the members
// past its end (FlagsEx) are then simply not read.
void FillFileDialogRecord(OPENFILENAMEA *record, FileDialogOptions *options, HWND owner, const char *title,
                          char *fileName, DWORD fileNameSize, const char *initialFolder, const char *filter,
                          const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                          FileAcceptCallback accept)
{
    ZeroFill(record, sizeof *record);
    record->lStructSize = IsNewShellPlatform() ? sizeof(OPENFILENAMEA) : ShortRecordSize;
    record->hwndOwner = owner;
    record->lpstrFile = fileName;
    record->nMaxFile = fileNameSize;
    record->lpstrFilter = filter;
    record->lpstrTitle = title;
    record->lpstrInitialDir = initialFolder;
    record->lpstrDefExt = defaultExtension;
    if (defaultExtension != nullptr && defaultExtension[0] == '.')
        record->lpstrDefExt = defaultExtension + 1;
    record->Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    record->lpfnHook = FileDialogHook;
    record->FlagsEx = OFN_EX_NOPLACESBAR;
    options->ViewCommand = viewCommand;
    options->AcceptCallback = accept;
    record->lCustData = reinterpret_cast<LPARAM>(options);
}

// The options of the dialog a notification comes from; null when the record
// carries none, so a hook given to a foreign record does nothing.
static FileDialogOptions *NotifiedOptions(const OFNOTIFYA *notice)
{
    if (notice->lpOFN == nullptr)
        return nullptr;
    return reinterpret_cast<FileDialogOptions *>(notice->lpOFN->lCustData);
}

// The view command is spent by the first folder, so folders the user opens
// later keep the view the user chose.
static void OnFolderChange(HWND fileDialog, FileDialogOptions *options)
{
    if (options == nullptr || options->ViewCommand == 0)
        return;
    SendDlgItemMessageA(fileDialog, FileViewControl, WM_COMMAND, options->ViewCommand, 0);
    options->ViewCommand = 0;
}

// A refusal keeps the dialog open: the answer goes in DWLP_MSGRESULT.
static UINT_PTR OnFileOk(HWND hookDialog, const OFNOTIFYA *notice, const FileDialogOptions *options)
{
    if (options == nullptr || options->AcceptCallback == nullptr)
        return 0;
    if (options->AcceptCallback(hookDialog, notice->lpOFN->lpstrFile) != 0)
        return 0;
    SetWindowLongPtrA(hookDialog, DWLP_MSGRESULT, 1);
    return 1;
}

// An explorer-style hook runs for a child dialog of the file dialog: the file
// dialog is the hook's parent, and its owner is the parent's parent.
UINT_PTR CALLBACK FileDialogHook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return 0;
    const OFNOTIFYA *notice = reinterpret_cast<const OFNOTIFYA *>(lParam);
    HWND fileDialog = GetParent(hookDialog);
    switch (notice->hdr.code)
    {
    case CDN_INITDONE: CenterWindow(fileDialog, GetParent(fileDialog)); return 0;
    case CDN_FOLDERCHANGE: OnFolderChange(fileDialog, NotifiedOptions(notice)); return 0;
    case CDN_FILEOK: return OnFileOk(hookDialog, notice, NotifiedOptions(notice));
    default: return 0;
    }
}

typedef BOOL(APIENTRY *RunFileDialog)(LPOPENFILENAMEA);

// The record and its options live on this call's stack for the dialog's run.
static BOOL AskFileName(RunFileDialog run, HWND owner, const char *title, char *fileName,
                        const char *initialFolder, const char *filter, const char *defaultExtension, DWORD flags,
                        uint32_t viewCommand, FileAcceptCallback accept)
{
    OPENFILENAMEA record;
    FileDialogOptions options;
    FillFileDialogRecord(&record, &options, owner, title, fileName, FileNameCapacity, initialFolder, filter,
                         defaultExtension, flags, viewCommand, accept);
    return run(&record);
}

BOOL AskSaveFileName(HWND owner, const char *title, char *fileName, const char *initialFolder,
                     const char *filter, const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                     FileAcceptCallback accept)
{
    return AskFileName(GetSaveFileNameA, owner, title, fileName, initialFolder, filter, defaultExtension, flags,
                       viewCommand, accept);
}

BOOL AskOpenFileName(HWND owner, const char *title, char *fileName, const char *initialFolder,
                     const char *filter, const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                     FileAcceptCallback accept)
{
    return AskFileName(GetOpenFileNameA, owner, title, fileName, initialFolder, filter, defaultExtension, flags,
                       viewCommand, accept);
}

void SavePayoutStructureCommand()
{
    char fileName[FileNameCapacity];
    fileName[0] = '\0';
    if (AskSaveFileName(TournamentState.MainWindow, "Save payout structure", fileName, TournamentState.SettingsDir,
                        PayoutFilter, PayoutExtension, PayoutSaveFlags, 0, nullptr))
        SavePayoutStructure(fileName);
}

// Whoever owns the dialog, the refreshed window is the main window. Its guard
// is set so that rewriting its edits does not run their entry checks; the
// Calculate rule judges the ladder the rule leaves, so a rejected place that
// the rule clears here no longer holds Calculate back.
static void ShowOpenedPayoutStructure(HWND window)
{
    TournamentState.MainUpdating = 1;
    ShowPayouts(window, 0);
    UpdateCalculateEnable(window);
    ShowPaidPlaces(window);
    for (int id = IDC_RESULT_FIRST; id <= IDC_RESULT_LAST; ++id)
        SetDlgItemTextA(window, id, "");
    TournamentState.MainUpdating = 0;
}

void OpenPayoutStructureCommand(HWND owner)
{
    char fileName[FileNameCapacity];
    fileName[0] = '\0';
    if (!AskOpenFileName(owner, "Open payout structure", fileName, TournamentState.SettingsDir, PayoutFilter,
                         PayoutExtension, PayoutOpenFlags, DetailsViewCommand, nullptr))
        return;
    LoadPayoutStructure(fileName);
    ShowOpenedPayoutStructure(TournamentState.MainWindow);
}
