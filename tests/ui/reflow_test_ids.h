// Ids of the relayout's test dialogs, shared by their resource script and the tests;
// numbered from 5000, clear of the program's own.
#ifndef REFLOW_TEST_IDS_H
#define REFLOW_TEST_IDS_H

#define IDD_FORM_PORTRAIT 5001
#define IDD_FORM_LANDSCAPE 5002
#define IDD_FORM_SQUARE 5003
#define IDC_FORM_EDIT 5103
#define IDC_FORM_LIST 5104
#define IDC_FORM_COMBO 5105
#define IDC_FORM_LABEL 5106
#define IDC_FORM_ICON 5201
#define IDC_FORM_BITMAP 5202
#define IDT_MISSING_IMAGE 5999

#endif
