/*
 * Payout structure files chosen through the platform's common Open and Save
 * dialogs: the dialog record, the hook that centres the dialog and switches
 * the Open dialog to its details view, and the two commands that use them.
 */
#ifndef OSTREL_FILE_DIALOGS_H
#define OSTREL_FILE_DIALOGS_H

#include <windows.h>

#include <commdlg.h>

#include <cstdint>

// Called with the hook's dialog and the chosen path; non-zero accepts it.
typedef int32_t(CALLBACK *FileAcceptCallback)(HWND hookDialog, const char *path);

// Lives with one file dialog's record for the dialog's run.
struct FileDialogOptions
{
    uint32_t ViewCommand; // sent once to the file view at the first folder; 0 = none
    FileAcceptCallback AcceptCallback; // null = accept every path
};

enum
{
    FileNameCapacity = 260,      // the platform's longest path, with its terminator
    FileViewControl = 0x461,     // the file dialog's shell view window
    DetailsViewCommand = 0x702C, // the shell view's command for its details view
};

// The flags of each command; the dialogs add OFN_EXPLORER | OFN_ENABLEHOOK.
const DWORD PayoutSaveFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN | OFN_ENABLESIZING;
const DWORD PayoutOpenFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;

// The one filter of both dialogs, a list ended by an empty text, and the
// extension a typed name without one is given.
extern const char PayoutFilter[];
extern const char PayoutExtension[];

// True on the NT line from version 5 on, which knows the full record.
bool IsNewShellPlatform();
// Sets `count` bytes to 0; nothing for a null pointer.
void ZeroFill(void *pointer, size_t count);

// Fills the record and the options for one dialog; `defaultExtension` may
// start with a dot, which is skipped.
void FillFileDialogRecord(OPENFILENAMEA *record, FileDialogOptions *options, HWND owner, const char *title,
                          char *fileName, DWORD fileNameSize, const char *initialFolder, const char *filter,
                          const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                          FileAcceptCallback accept);
// Centres the dialog, sends the view command at the first folder and asks the
// accept callback on OK.
UINT_PTR CALLBACK FileDialogHook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);

// Non-zero when the user confirmed a file; its full path is then in fileName.
BOOL AskSaveFileName(HWND owner, const char *title, char *fileName, const char *initialFolder,
                     const char *filter, const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                     FileAcceptCallback accept);
BOOL AskOpenFileName(HWND owner, const char *title, char *fileName, const char *initialFolder,
                     const char *filter, const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                     FileAcceptCallback accept);

// Payout > Save: writes the ladder and the bubble inputs to a chosen file.
void SavePayoutStructureCommand();
// Payout > Open, from the main window or the bubble dialog (`owner`): reads a
// chosen file and refreshes the main window's payouts, caption, Calculate
// button and results.
void OpenPayoutStructureCommand(HWND owner);

#endif
