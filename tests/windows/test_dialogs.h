// Templates that exist only for the tests of the Windows build.
#ifndef OSTREL_TEST_DIALOGS_H
#define OSTREL_TEST_DIALOGS_H

#define IDD_TEST_LADDER 900
#define IDD_TEST_CHIPS  901

#endif
