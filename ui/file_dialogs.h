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

bool IsNewShellPlatform();
void ZeroFill(void *pointer, size_t count);

void FillFileDialogRecord(OPENFILENAMEA *record, FileDialogOptions *options, HWND owner, const char *title,
                          char *fileName, DWORD fileNameSize, const char *initialFolder, const char *filter,
                          const char *defaultExtension, DWORD flags, uint32_t viewCommand,
                          FileAcceptCallback accept);
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
