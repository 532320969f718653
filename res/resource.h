// Resource numbers of the program's own module.
#pragma once

#define IDD_ABOUTBOX 100
#define IDR_MAINFRAME 128
#define ID_VIEW_OWNPICTURES 32771

// Built-in pictures: letters A-Z, top-row digits 0-9, then the six other-key pictures.
#define IDB_FIRST_LETTER 129
#define IDB_FIRST_DIGIT 155
#define IDB_FIRST_OTHER 165
#define IDB_LAST_PICTURE 170

// Strings
#define AFX_IDS_APP_TITLE 57344
#define IDS_PICTURE_FOLDER 57346
#define IDS_SOUND_FOLDER 57347
#define AFX_IDS_OPENFILE 61440
#define AFX_IDS_SAVEFILE 61441
#define AFX_IDS_UNTITLED 61443
#define AFX_IDP_FAILED_TO_CREATE_DOC 61700

// Framework commands
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_PRINT 57608
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
