// The framework's own command and string numbers. Where the program's resource header names the
// same number, both spell the definition identically.
#pragma once

// Standard commands
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_CLOSE 57602
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57608
#define ID_FILE_PRINT_DIRECT 57606
#define ID_FILE_MRU_FILE1 57616
#define ID_FILE_MRU_LAST 57631
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681

// Standard strings
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_OPENFILE 61440
#define AFX_IDS_SAVEFILE 61441
#define AFX_IDS_UNTITLED 61443
#define AFX_IDP_FAILED_TO_CREATE_DOC 61700

// The first (and only) pane of a frame
#define AFX_IDW_PANE_FIRST 0xE900
