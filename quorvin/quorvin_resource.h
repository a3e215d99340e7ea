// Resource ids of the map helper (quorvin.rc).
#pragma once

#define IDR_QUORVIN_MENU        100
#define IDR_BASE_MAP            101   // RCDATA: data/japan_land.bin
#define IDD_SAVE_AREA           102

#define IDM_CLOSE               40001
#define IDM_ZOOM_IN             40010
#define IDM_ZOOM_OUT            40011
#define IDM_FIT_TEXTS           40012
#define IDM_SAVE_AREA           40013
#define IDM_DATUM_WGS84         40020
#define IDM_DATUM_TOKYO         40021
// The map menu: the sources in the order of StandardSources(), then the map-object name's.
#define IDM_SOURCE_STANDARD     40030
#define IDM_SOURCE_PALE         40031
#define IDM_SOURCE_PHOTO        40032
#define IDM_SOURCE_BUILT_IN     40033
#define IDM_SOURCE_OBJECT       40034
#define IDM_CACHE_CAP_100       40040
#define IDM_CACHE_CAP_500       40041
#define IDM_CACHE_CAP_1000      40042
#define IDM_CACHE_CAP_2000      40043
#define IDM_CACHE_EMPTY         40044

#define IDC_MAP_STATUS          1000
#define IDC_SAVE_ZOOM           1001
#define IDC_SAVE_ESTIMATE       1002
#define IDC_SAVE_PROGRESS       1003
#define IDC_SAVE_STATE          1004
