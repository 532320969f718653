// Resource numbers of the program's own module.
#pragma once

// The framework's own command and string numbers.
#include "platform/framework/afxres.h"

#define IDD_ABOUTBOX 100
#define IDR_MAINFRAME 128
#define ID_VIEW_OWNPICTURES 32771

// Built-in pictures: letters A-Z, top-row digits 0-9, then the six other-key pictures.
#define IDB_FIRST_LETTER 129
#define IDB_FIRST_DIGIT 155
#define IDB_FIRST_OTHER 165
#define IDB_LAST_PICTURE 170

// Strings
#define IDS_PICTURE_FOLDER 57346
#define IDS_SOUND_FOLDER 57347
