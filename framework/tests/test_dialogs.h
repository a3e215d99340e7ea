// Templates of the framework's own tests.
#pragma once

#define IDD_TEST_DIALOG   900
#define IDD_TEST_INNER    901
#define IDC_TEST_EDIT     9001
#define IDC_TEST_LIST     9002
#define IDC_TEST_BUTTON   9003
#define IDC_TEST_COMBO    9004
#define IDR_TEST_MENU     902
#define IDM_TEST_ITEM     9010
