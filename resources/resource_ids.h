/*
 * Names for every resource, control and command number of the calculator.
 * Macro-only: read by windres for ostrel.rc and by the C++ code alike, so
 * the template and the code can never disagree about a number.
 */
#ifndef OSTREL_RESOURCE_IDS_H
#define OSTREL_RESOURCE_IDS_H

/* Resources */
#define IDI_OSTREL                100
#define IDR_ACCELERATORS          101
#define IDR_MAIN_MENU             102
#define IDD_ABOUT                 200
#define IDD_MAIN                  201
#define IDD_BUBBLE                324
#define IDD_EXTRA_PAYOUTS         340

/* Commands shared by dialogs */
#define IDC_STATIC_ANY            (-1)
#define IDC_OK                    1
#define IDC_CANCEL                2

/* About box (200) */
#define IDC_ABOUT_VERSION         11
#define IDC_ABOUT_PRODUCT         12
#define IDC_ABOUT_NOTICE          13
#define IDC_ABOUT_TEXT_FIRST      11
#define IDC_ABOUT_TEXT_LAST       19

/* Main window (201) and its menu (102) */
#define IDM_ABOUT                 103
#define IDC_PLAYERS               202
#define IDC_CALCULATE             203
#define IDC_EXIT                  204
#define IDC_SEAT_GROUP            205
#define IDC_PAYOUT_GROUP          206
#define IDC_PAYOUT_FIRST          220 /* edit of place p is 219 + p */
#define IDC_PAYOUT_MAIN_LAST      229
#define IDC_PAYOUT_EXTRA_FIRST    230
#define IDC_PAYOUT_LAST           249
#define IDC_CHIPS_FIRST           250 /* edit of seat n is 249 + n */
#define IDC_CHIPS_LAST            267
#define IDC_RESULT_FIRST          268 /* $EV of seat n is 267 + n */
#define IDC_RESULT_LAST           285
#define IDC_SEAT_LABEL_FIRST      286 /* label of seat n is 285 + n */
#define IDC_SEAT_LABEL_LAST       303
#define IDM_MORE_PAYOUTS          320
#define IDM_OPEN_PAYOUTS          321
#define IDM_SAVE_PAYOUTS          322
#define IDM_BUBBLE                323

/* Bubble factor dialog (324) */
#define IDC_BUBBLE_PLAYERS        325
#define IDC_BUBBLE_CHIPS          326
#define IDC_BUBBLE_EV1            327
#define IDC_BUBBLE_EV2            328
#define IDC_BUBBLE_FACTOR         329
#define IDC_BUBBLE_OPEN           330
#define IDC_BUBBLE_DO_IT          331

#endif
