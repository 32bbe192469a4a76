/*
 * What the window tests share: a fresh tournament record with the settings
 * file in a temporary folder, typing into edits the way a user does, reading
 * texts and the colours a window answers for its edits, and pumping messages.
 */
#ifndef OSTREL_WINDOW_TEST_SUPPORT_H
#define OSTREL_WINDOW_TEST_SUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// A new empty folder under the temporary folder, with a trailing backslash.
std::string MakeTemporaryFolder();
void RemoveFolder(const std::string &folder);

// Resets the record and points the settings file into `folder`.
void PrepareTournamentState(const std::string &folder);

// Creates the main window from its template as the program does, makes it
// MainWindow and lets it settle; null without an X display.
HWND CreateMainWindow();
// Destroys the window when it still exists and takes the quit it posts.
void DestroyMainWindow(HWND window);

// Replaces the edit's text character by character (one EN_UPDATE per key),
// as typing does; an empty text deletes the old one with a backspace.
void TypeInto(HWND dialog, int id, const char *text);
// Replaces the edit's whole text in one step, as pasting does (one EN_UPDATE).
void PasteInto(HWND dialog, int id, const char *text);
std::string ControlText(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);
bool ControlVisible(HWND dialog, int id);

struct AnsweredColors
{
    COLORREF Text;
    COLORREF Background;
    HBRUSH Brush;
    COLORREF BrushColor; // the colour of the returned brush as the DC paints it
};
// Sends the colour message a control's painting sends and reads back what the
// dialog procedure answered.
AnsweredColors AskColors(HWND dialog, int id, UINT message);

// Processes what is queued for this thread, without waiting.
void PumpMessages();
// Removes a WM_QUIT that a destroyed main window posted.
bool TakeQuitMessage(int *code);

// Runs `action` from a timer inside the next modal loop of this thread, once
// the dialog with `caption` exists; returns at once.
void WhenDialogAppears(const char *caption, void (*action)(HWND dialog));

// A fresh record with its settings in a temporary folder, and the main window
// created from its template on request, as the program creates it.
class MainWindowFixture : public ::testing::Test
{
  protected:
    std::string Folder;
    HWND Main = nullptr;

    void SetUp() override;
    void TearDown() override;
    void OpenMainWindow();
};

#endif
