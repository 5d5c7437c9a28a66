// Control identifiers of the SETUP dialog, shared by its template and code.
#ifndef SETUP_IDS_H
#define SETUP_IDS_H

#define IDC_SETUP_OK        101
#define IDC_SETUP_CANCEL    102
#define IDC_SETUP_ICONS     103
#define IDC_SETUP_STATUS    104
#define IDC_SETUP_PROMPT    105
#define IDC_SETUP_DIR       107
#define IDC_SETUP_DRIVES    108
#define IDC_SETUP_DRIVELBL  109

#endif
