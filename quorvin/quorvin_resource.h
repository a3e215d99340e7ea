// Resource ids of the map helper (quorvin.rc).
#pragma once

#define IDR_QUORVIN_MENU        100
#define IDR_BASE_MAP            101   // RCDATA: data/japan_land.bin

#define IDM_CLOSE               40001
#define IDM_ZOOM_IN             40010
#define IDM_ZOOM_OUT            40011
#define IDM_FIT_TEXTS           40012
#define IDM_DATUM_WGS84         40020
#define IDM_DATUM_TOKYO         40021

#define IDC_MAP_STATUS          1000
