/* Identifiers shared by the editor's resource script and its code. */
#ifndef QUILLON_RESOURCE_H
#define QUILLON_RESOURCE_H

/* Menu and accelerator commands */
#define IDM_OPEN        100
#define IDM_GOTO        102
#define IDM_EXIT        110
#define IDM_FIND        201
#define IDM_FINDNEXT    202
#define IDM_STOPSEARCH  203
#define IDM_VIEWMODE    204
#define IDM_HELP        301
#define IDM_ABOUT       303
#define IDM_FORMAT      401
#define IDM_SPACER      500
#define IDM_RECENT1     900

/* Child windows of the main window */
#define IDC_HEXVIEW     60
#define IDC_STATUSBAR   333

/* Go to offset dialog (OFFSET) */
#define IDC_GOTO_LABEL      100
#define IDC_GOTO_FIELD      101
#define IDC_GOTO_HEX        102
#define IDC_GOTO_DEC        103
#define IDC_GOTO_OCT        104
#define IDC_GOTO_OK         105
#define IDC_GOTO_CANCEL     106

/* View Format dialog (FORMAT) */
#define IDC_FMT_SIZE_LABEL  101
#define IDC_FMT_TYPE_LABEL  102
#define IDC_FMT_HEX         103
#define IDC_FMT_DEC         104
#define IDC_FMT_8BIT        105
#define IDC_FMT_16BIT       106
#define IDC_FMT_32BIT       107
#define IDC_FMT_SIGNED      108
#define IDC_FMT_UNSIGNED    109
#define IDC_FMT_OFS_HEX     110
#define IDC_FMT_OFS_DEC     111
#define IDC_FMT_OK          112
#define IDC_FMT_CANCEL      113
#define IDC_FMT_CONTENTS    114
#define IDC_FMT_OFFSET      115
#define IDC_FMT_SWAP        116

/* Edit value dialog (EDITAR) */
#define IDC_EDIT_TYPE_LABEL 101
#define IDC_EDIT_TYPE       102
#define IDC_EDIT_OLD_LABEL  103
#define IDC_EDIT_OLD        104
#define IDC_EDIT_NEW_LABEL  105
#define IDC_EDIT_FIELD      106
#define IDC_EDIT_OK         112
#define IDC_EDIT_CANCEL     113

/* Search dialog (SEARCH) */
#define IDC_SRCH_LABEL      100
#define IDC_SRCH_HEXFIELD   101
#define IDC_SRCH_HEXMODE    102
#define IDC_SRCH_TEXTMODE   103
#define IDC_SRCH_FIND       104
#define IDC_SRCH_FINDNEXT   105
#define IDC_SRCH_CANCEL     106
#define IDC_SRCH_FROMSTART  107
#define IDC_SRCH_MATCHCASE  108
#define IDC_SRCH_TEXTFIELD  109
#define IDC_SRCH_8BIT       110
#define IDC_SRCH_16BIT      111
#define IDC_SRCH_32BIT      112
#define IDC_SRCH_SIGNED     113
#define IDC_SRCH_NUMHEX     114
#define IDC_SRCH_NUMBER     115
#define IDC_SRCH_ADDVALUE   116
#define IDC_SRCH_NUMGROUP   117

#endif
