// Resource identifiers of ostrel.rc (and the fragments it includes). The numbers are
// fixed: other programs and stored habits know them (the helper finds the main window by
// its title, users know the menu), so keep them when adding new ones.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX                    100
#define IDD_MAIN                        132
#define IDD_POINT_EDIT                  153
#define IDD_MAP_OBJECT                  161
#define IDD_FIND                        170
#define IDD_BULK_EDIT                   171
#define IDD_RESTORE_BACKUP              172

// Icons, menu, cursors
#define IDR_MAINFRAME                   128   // the program's icon, the main menu, the keys
#define IDI_MISSING_POINT               208   // stands in for a missing markNN.ico
#define IDC_PLAIN_ARROW                 104
#define IDC_DRAG_ONE_ROW                105
#define IDC_NO_DROP                     106
#define IDC_DRAG_ROWS                   144

// Strings
#define IDS_OLE_INIT_FAILED             1

// Main window (template 132)
#define IDC_POINT_LIST                  1000
#define IDC_DELETE_POINT                1002
#define IDC_EDIT_POINT                  1003
#define IDC_MAP_DISPLAY                 1004
#define IDC_TAKE_POSITION               1005
#define IDC_ADD_POINT                   1009
#define IDC_IMPORT_LIST                 1024
#define IDC_MARKER_LATITUDE             1056
#define IDC_MARKER_LONGITUDE            1057
#define IDC_MARKER_LONGITUDE_LABEL      1090
#define IDC_MARKER_LATITUDE_LABEL       1091
#define IDW_STATUS_BAR                  59393

// Point edit dialog (template 153)
#define IDC_POINT_ICON_NUMBER           1010
#define IDC_POINT_NAME_LABEL            1012
#define IDC_POINT_NICKNAME_LABEL        1013
#define IDC_POINT_LONGITUDE_LABEL       1014
#define IDC_POINT_LATITUDE_LABEL        1015
#define IDC_POINT_PHONE_LABEL           1016
#define IDC_POINT_LOCATION_LABEL        1017
#define IDC_POINT_ICON_SPIN             1020
#define IDC_POINT_VOICE                 1022
#define IDC_POINT_DATE_LABEL            1036
#define IDC_POINT_ICON                  1046
#define IDC_POINT_LOCATION              1058
#define IDC_POINT_TIME_LABEL            1070
#define IDC_POINT_NAME                  1071
#define IDC_POINT_NICKNAME              1072
#define IDC_POINT_PHONE                 1073
#define IDC_POINT_LONGITUDE             1074
#define IDC_POINT_LATITUDE              1075
#define IDC_POINT_DATE                  1076
#define IDC_POINT_TIME                  1077

// Map-object dialog (template 161)
#define IDC_MAP_OBJECT_NAME             1003
#define IDC_MAP_OBJECT_ADD              1090
#define IDC_MAP_OBJECT_LIST             1091
#define IDC_MAP_OBJECT_DELETE           1092

// Find box (template 170)
#define IDC_FIND_TEXT                   1100

// Bulk edit (template 171)
#define IDC_BULK_ICON                   1110
#define IDC_BULK_VOICE                  1111

// Restore dialog (template 172)
#define IDC_BACKUP_LIST                 1120

// Menu commands. The file and application commands keep the numbers such programs
// traditionally use; the point commands share their buttons' ids.
#define ID_FILE_OPEN                    57601
#define ID_FILE_SAVE                    57603
#define ID_FILE_SAVE_AS                 57604
#define ID_APP_ABOUT                    57664
#define ID_APP_EXIT                     57665
#define IDM_VIEW_EDIT_SCREEN            32772
#define IDM_VIEW_IMPORT_SCREEN          32773
#define IDM_FILE_IMPORT                 32775
#define IDM_SELECT_ALL                  32781
#define IDM_DESELECT_ALL                32783
#define IDM_MAP_OBJECT                  32791
#define IDM_DATUM_WGS84                 32804
#define IDM_DATUM_TOKYO                 32805
#define IDM_BULK_EDIT                   32801
#define IDM_MOVE_TO_MARKER              32803
#define ID_EDIT_COPY                    57634
#define ID_EDIT_FIND                    57636
#define ID_EDIT_PASTE                   57637
#define ID_EDIT_REPEAT                  57640   // find next
#define ID_EDIT_UNDO                    57643
#define ID_EDIT_REDO                    57644
#define IDM_FILE_RESTORE_BACKUP         32802

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif
