/*
 * What the window tests share: a fresh tournament record with the settings
 * file in a temporary folder, typing into edits the way a user does, reading
 * texts and the colours a window answers for its edits, and pumping messages.
 */
#ifndef OSTREL_WINDOW_TEST_SUPPORT_H
#define OSTREL_WINDOW_TEST_SUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
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

// An empty dialog with `style`, owned by or a child of `parent`, at a place
// and size; it answers no message.
HWND MakeBlankDialog(HWND parent, DWORD style, int x, int y, int width, int height);

// Processes what is queued for this thread, without waiting.
void PumpMessages();
// Removes a WM_QUIT that a destroyed main window posted.
bool TakeQuitMessage(int *code);

// Runs `action` from a timer inside whatever modal loop runs, once `matches`
// finds a visible window of this thread; returns at once. Every wait, and the
// time after the last action, lasts at most 20 s: then the test fails and
// every dialog but the main window is cancelled, so none can hang the run.
void WhenWindowAppears(const std::string &what, std::function<bool(HWND)> matches,
                       std::function<void(HWND)> action);
// The same for the dialog with `caption`.
void WhenDialogAppears(const char *caption, void (*action)(HWND dialog));
// Ends the waiting; every test that waited calls it before it ends.
void StopAwaiting();
std::function<bool(HWND)> CaptionIs(const std::string &caption);
// A message box that `owner` shows over itself.
std::function<bool(HWND)> OwnedBy(HWND owner);

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
