// Ids of the relayout's test dialogs, shared by their resource script and the tests;
// numbered from 5000, clear of the program's own.
#ifndef REFLOW_TEST_IDS_H
#define REFLOW_TEST_IDS_H

#define IDD_FORM_PORTRAIT 5001
#define IDD_FORM_LANDSCAPE 5002
#define IDD_FORM_SQUARE 5003
#define IDD_IMAGES 5020
#define IDD_IMAGES_OTHER 5021
#define IDD_IMAGES_MISSING 5022

#define IDC_FORM_CHECK 5101
#define IDC_FORM_EDIT 5103
#define IDC_FORM_LIST 5104
#define IDC_FORM_COMBO 5105
#define IDC_FORM_LABEL 5106
#define IDC_IMAGE_ICON 5201
#define IDC_IMAGE_BITMAP 5202
#define IDC_IMAGE_TEXT 5204
#define IDT_MISSING_IMAGE 5999

#endif
