/*
 * The extra payouts dialog edits places 11 to 30 of the record while the
 * user types, under the same ladder rule as the main window. A snapshot of
 * all 30 places is taken first and put back unless the dialog ends with OK.
 */
#include "extra_payouts_dialog.h"

#include "entry_checks.h"
#include "main_window_refresh.h"
#include "resource_ids.h"
#include "tournament_state.h"
#include "window_helpers.h"

namespace
{

struct LadderSnapshot
{
    double Payouts[PlaceCount];
    int32_t PayoutDecimals[PlaceCount];
    int32_t PaidPlaces;
};

bool IsExtraPayoutEdit(int id)
{
    return id >= IDC_PAYOUT_EXTRA_FIRST && id <= IDC_PAYOUT_LAST;
}

bool PlaceIsValid(int id)
{
    return TournamentState.PayoutDecimals[id - IDC_PAYOUT_FIRST] >= 0;
}

void OnExtraPayoutUpdate(HWND dialog, int id)
{
    char text[EntryTextCapacity];
    ReadEntryText(dialog, id, text);
    const bool wasValid = PlaceIsValid(id);
    if (JudgePayoutEntry(id - IDC_PAYOUT_FIRST, text) != wasValid)
        RepaintControl(dialog, id, TRUE);
    UpdateExtraPayoutsOkEnable(dialog);
}

INT_PTR OnExtraPayoutsInit(HWND dialog)
{
    TournamentState.ExtraPayoutsUpdating = 1;
    CenterWindow(dialog, TournamentState.MainWindow);
    ShowPayouts(dialog, 1);
    UpdateExtraPayoutsOkEnable(dialog);
    TournamentState.ExtraPayoutsUpdating = 0;
    return TRUE;
}

void OnExtraPayoutsCommand(HWND dialog, int id, int code)
{
    if (id == IDC_OK)
        EndDialog(dialog, 1);
    else if (id == IDC_CANCEL)
        EndDialog(dialog, 0);
    else if (IsExtraPayoutEdit(id) && code == EN_UPDATE && !TournamentState.ExtraPayoutsUpdating)
        OnExtraPayoutUpdate(dialog, id);
}

INT_PTR OnExtraPayoutColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (!IsExtraPayoutEdit(id))
        return FALSE;
    return reinterpret_cast<INT_PTR>(PaintEntryColors(dc, PlaceIsValid(id)));
}

} // namespace

void UpdateExtraPayoutsOkEnable(HWND dialog)
{
    const bool usable = SettleLadder(dialog, 1) && TournamentState.PaidPlaces > MainWindowPlaces;
    EnableWindow(GetDlgItem(dialog, IDC_OK), usable ? TRUE : FALSE);
}

INT_PTR CALLBACK ExtraPayoutsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnExtraPayoutsInit(dialog);
    case WM_COMMAND:
        OnExtraPayoutsCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        return TRUE;
    case WM_CTLCOLOREDIT:
        return OnExtraPayoutColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
        return FALSE;
    }
}

bool RunExtraPayoutsDialog()
{
    LadderSnapshot snapshot;
    CopyBytes(snapshot.Payouts, TournamentState.Payouts, sizeof snapshot.Payouts);
    CopyBytes(snapshot.PayoutDecimals, TournamentState.PayoutDecimals, sizeof snapshot.PayoutDecimals);
    snapshot.PaidPlaces = TournamentState.PaidPlaces;
    const INT_PTR result = DialogBoxParamA(TournamentState.AppInstance, MAKEINTRESOURCEA(IDD_EXTRA_PAYOUTS),
                                           TournamentState.MainWindow, ExtraPayoutsDialogProc, 0);
    if (result == 1)
        return true;
    CopyBytes(TournamentState.Payouts, snapshot.Payouts, sizeof snapshot.Payouts);
    CopyBytes(TournamentState.PayoutDecimals, snapshot.PayoutDecimals, sizeof snapshot.PayoutDecimals);
    TournamentState.PaidPlaces = snapshot.PaidPlaces;
    return false;
}
