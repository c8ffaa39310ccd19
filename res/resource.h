// Resource ids of tx9: one header for the English and the Japanese resources
// and the code. Grouped by window or dialog.
#pragma once

// ---- Top-level resources
#define IDR_ACCEL 101       // built-in accelerators
#define IDI_TX9 102         // program icon
#define IDD_MIDDLE 106      // Middle for Diddle
#define IDR_MAINMENU 107    // main menu
#define IDD_GAME_OPTION 108 // Game Option
#define IDD_SELECT_KEY 110  // Select key (Option sheet, Key page)
#define IDR_ROUTES 112      // built-in route text, type TEXT
#define IDD_CHECKOUT 113    // Check-Out
#define IDD_COM_VISIT 114   // COM visit window
#define IDD_SCHEDULE 119    // Schedule Option
#define IDD_PAGE_KEY 120    // Option sheet: Key page
#define IDD_PAGE_VIEW 121   // Option sheet: View page
#define IDD_HISTORY 122     // Game History
#define IDD_SCORE_LIST 123  // Score List
#define IDD_PAGE_PLAYER 124 // Option sheet: Player page
#define IDD_FINISH 125      // Finish

// ---- Strings (the menu texts are also strings, under their command ids)
#define IDS_TITLE_LEGS 100           // "%s - %d Legs"
#define IDS_EXIT_QUESTION 101
#define IDS_TEMPLATE_NOTHING 102     // "(Nothing)"
#define IDS_PLAYER1 103
#define IDS_PLAYER2 104
#define IDS_SAVE_AS 105
#define IDS_TITLE_SETS 106
#define IDS_TITLE_SETS_BEST_OF 107
#define IDS_WINNER 108               // '%d - %d: Winner is "%s."'
#define IDS_COM_NAME 109             // "COM (Lv.%d)"
#define IDS_SCHEDULE_MODE 110
#define IDS_SCORED 200
#define IDS_TO_GO 201
#define IDS_FINISHED_BY 202
#define IDS_EXCHANGE_QUESTION 203
#define IDS_CLEAR_QUESTION 204
#define IDS_DRAW 206
#define IDS_STOP_QUESTION 207
#define IDS_PANEL_FIRST 300          // player panel: "- First -"
#define IDS_PANEL_TOTALS 301         // "Totals"
#define IDS_PANEL_AVERAGES 302       // "Averages"
#define IDS_PANEL_LEGS 303
#define IDS_PANEL_TONS 304
#define IDS_PANEL_180S 305
#define IDS_PANEL_HIGH_OFF 306       // the widest totals label: it sets the column
#define IDS_PANEL_SHORT 307
#define IDS_PANEL_SCORE 308          // the widest averages label
#define IDS_PANEL_DARTS 309
#define IDS_PANEL_SETS 310
#define IDS_PANEL_CHECKOUT 311       // "Check-Out"
#define IDS_SETUP_SAVED 400
#define IDS_NAME_CAPTION 401
#define IDS_LEVEL_CAPTION 402
#define IDS_KEY_FUNCTION_COLUMN 500
#define IDS_KEY_KEY_COLUMN 501
#define IDS_CANNOT_ADD 502           // "It cannot add any more."
#define IDS_DELETE_QUESTION 503
#define IDS_TEMPLATE 504
#define IDS_TEMPLATE_RANGE 505       // "The range of a template is 0 to 180."
#define IDS_NO_KEY 506               // "Nothing"
#define IDS_LEGS 600                 // "%d Legs" (history rows, Score List items)
#define IDS_DARTS 601                // "%d Darts"
#define IDS_PLAYER_INFORMATION 602
#define IDS_CLEAR_HISTORY_QUESTION 603
#define IDS_SETS 604                 // "%d Sets"
#define IDS_RESET_COLORS_QUESTION 730
#define IDS_ROUTE_FONT 800           // face of the Check-Out dialog's routes
#define IDS_COLUMN_START_SCORE 900   // Schedule list headers, 900 to 904
#define IDS_COLUMN_ROUND 901
#define IDS_COLUMN_LEGS 902
#define IDS_COLUMN_PLAYER1 903
#define IDS_COLUMN_PLAYER2 904
#define IDS_BEST_OF 905              // "Best of %d"
// The journal of the live game
#define IDS_JOURNAL_RESUME 1000       // continue the game an interrupted run left?
#define IDS_JOURNAL_DAMAGED 1001      // cannot continue; %s the name it was set aside as
#define IDS_JOURNAL_NEWER 1002        // the same for a journal of a newer version
#define IDS_JOURNAL_WRITE_FAILED 1003 // %s the system's error text

// ---- Menu and accelerator commands (40001 to 40041)
#define IDM_ENTER 40001
#define IDM_ESCAPE 40002
#define IDM_UP 40006
#define IDM_DOWN 40007
#define IDM_TAB 40008
#define IDM_SHIFT_TAB 40009
#define IDM_PAGE_UP 40011
#define IDM_PAGE_DOWN 40012
#define IDM_VIEW_LEFT 40013
#define IDM_VIEW_PLAYER 40014
#define IDM_VIEW_THROW_COUNT 40015
#define IDM_NEW_GAME 40016
#define IDM_EXIT 40017
#define IDM_FINISH_1 40018
#define IDM_FINISH_2 40019
#define IDM_FINISH_3 40020
#define IDM_MIDDLE 40021
#define IDM_HOME 40022
#define IDM_END 40023
#define IDM_ABOUT 40024
#define IDM_LEFT_SCORE_INPUT 40026
#define IDM_EXCHANGE 40027
#define IDM_TEMPLATE_NOTHING 40028
#define IDM_VIEW_GUIDE 40031
#define IDM_CLEAR_SCORES 40033
#define IDM_CHECKOUT 40034
#define IDM_HISTORY 40038
#define IDM_AUTO_SAVE 40039
#define IDM_NEW_SCHEDULE 40040
#define IDM_OPTION 40041
#define IDM_TEMPLATE_BASE 51000 // 51000 + score, 51000 to 51180
#define IDM_REFRESH_MENU 32778
#define IDM_CELL_LEFT 32873  // entry control: left arrow at its left edge
#define IDM_CELL_RIGHT 32874 // entry control: right arrow at its right edge
#define IDM_SHEET_CANCEL_QUERY 33768

// ---- Middle for Diddle (106)
#define IDC_MIDDLE_PLAYER1 1000
#define IDC_MIDDLE_PLAYER2 1001

// ---- Finish (125)
#define IDC_FINISH_1 1086
#define IDC_FINISH_2 1088
#define IDC_FINISH_3 1089

// ---- COM visit window (114)
#define IDC_COM_DART1 1030
#define IDC_COM_DART2 1031
#define IDC_COM_DART3 1032

// ---- Game Option (108)
#define IDC_NAME1 1001
#define IDC_NAME2 1009
#define IDC_HANDICAP1 1010
#define IDC_HANDICAP2 1011
#define IDC_SCORE_301 1017
#define IDC_SCORE_501 1018
#define IDC_SCORE_1001 1020
#define IDC_NAME1_LABEL 1023
#define IDC_NAME2_LABEL 1024
#define IDC_COM2 1028
#define IDC_LEVEL2 1029
#define IDC_COM1 1030
#define IDC_LEVEL1 1031
#define IDC_ROUND_LIMIT 1037
#define IDC_OTHER_SCORE 1049
#define IDC_SCORE_OTHER 1050
#define IDC_ROUND 1051
#define IDC_HANDICAP_SCORE1 1052
#define IDC_HANDICAP_SCORE2 1053
#define IDC_MAX_LEG 1054
#define IDC_BEST_OF 1057
#define IDC_LEG_LIMIT 1071
#define IDC_LEG_LABEL 1072
#define IDC_SAVE_OPTION 3

// ---- Check-Out (113)
#define IDC_CHECKOUT_SCORE 1026
#define IDC_CHECKOUT_SPIN 1033
#define IDC_CHECKOUT_TREE 1036

// ---- Schedule Option (119) and Key page (120): shared list buttons
#define IDC_KEY_LIST 1014
#define IDC_LIST_UP 1015
#define IDC_LIST_DOWN 1016
#define IDC_LIST_ADD 1017
#define IDC_LIST_EDIT 1018
#define IDC_LIST_DELETE 1019
#define IDC_SCHEDULE_LIST 1062

// ---- Select key (110)
#define IDC_SELECT_HOTKEY 1018
#define IDC_SELECT_FUNCTION 1019
#define IDC_SELECT_NUMBER 1020

// ---- View page (121)
#define IDC_VIEW_ITEMS 1038
#define IDC_VIEW_COLOR 1039
#define IDC_VIEW_PREVIEW 1041
#define IDC_VIEW_RESET 1042
#define IDC_VIEW_FONT 1045

// ---- Player page (124)
#define IDC_PLAYER_SETS 1074
#define IDC_PLAYER_LEGS 1075
#define IDC_PLAYER_TONS 1076
#define IDC_PLAYER_180S 1077
#define IDC_PLAYER_HIGH_OFF 1078
#define IDC_PLAYER_SHORT 1079
#define IDC_PLAYER_AVG_SCORE 1080
#define IDC_PLAYER_AVG_DARTS 1081
#define IDC_PLAYER_NAME 1082
#define IDC_PLAYER_FIRST 1083
#define IDC_PLAYER_ARRANGE 1084

// ---- Game History (122) and Score List (123)
#define IDC_HISTORY_LIST 1059
#define IDC_HISTORY_VIEW 1061
#define IDC_HISTORY_SAVE_AS 3
#define IDC_HISTORY_CLEAR 1062
#define IDC_SCORE_LIST_LEGS 1021
#define IDC_SCORE_LIST_SHEET 1022
#define IDC_SCORE_LIST_DARTS1 1023
#define IDC_SCORE_LIST_DARTS2 1024
#define IDC_SCORE_LIST_PLAYER1 1060
#define IDC_SCORE_LIST_PLAYER2 1061
