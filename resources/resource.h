// Resource and control ids, shared by the resource scripts and the code. Only #defines:
// windres preprocesses this file too.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Cursors of the preview pane.
#define IDCUR_HAND_OPEN 107
#define IDCUR_HAND_GRIP 108

// Dialog templates.
#define IDD_SOLARIZATION 109
#define IDD_POSTERIZATION 110
#define IDD_CUTLOWBIT 111

// Controls every dialog holds (besides IDOK and IDCANCEL).
#define IDC_PREVIEW_PANE 1005
#define IDC_PREVIEW_CHECK 1006

// Solarization dialog.
#define IDC_THRESHOLD_EDIT 1003
#define IDC_THRESHOLD_SPIN 1004
#define IDC_THRESHOLD_SLIDER 1022
#define IDC_CHANNEL_COMBO 1023

// Posterization dialog.
#define IDC_DIVISION_EDIT 1012
#define IDC_DIVISION_SPIN 1013
#define IDC_DIVISION_SLIDER 1021

// Cut Low Bit dialog: edit box id - IDC_RED_BITS_EDIT selects the channel.
#define IDC_RED_BITS_EDIT 1014
#define IDC_GREEN_BITS_EDIT 1015
#define IDC_BLUE_BITS_EDIT 1016
#define IDC_RED_BITS_SPIN 1017
#define IDC_GREEN_BITS_SPIN 1018
#define IDC_BLUE_BITS_SPIN 1019
#define IDC_LINK_CHECK 1020
