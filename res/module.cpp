#include "res/module.h"

#include <iterator>

#include "platform/win/windows.h"
#include "res/resource.h"

namespace {

// The folder names end in the platform's separator: a file name is appended to them directly.
const StringResource kStrings[] = {
    {IDR_MAINFRAME, "Pibo\n\nPibo\n\n\nPibo.Document\nPibo Document"},
    {AFX_IDS_APP_TITLE, "Pibo's Multi-Media Application 1.0"},
    {IDS_PICTURE_FOLDER, "mypics/"},
    {IDS_SOUND_FOLDER, "sounds/"},
    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDS_UNTITLED, "Untitled"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
};

// Menu 128: three popups of one item each.
const MenuItemResource kFileItems[] = {{"E&xit", ID_APP_EXIT}};
const MenuItemResource kViewItems[] = {{"Use your own pictures.", ID_VIEW_OWNPICTURES}};
const MenuItemResource kHelpItems[] = {{"&About Pibo...", ID_APP_ABOUT}};
const MenuPopupResource kMainMenu[] = {
    {"&File", kFileItems, std::size(kFileItems)},
    {"&View", kViewItems, std::size(kViewItems)},
    {"&Help", kHelpItems, std::size(kHelpItems)},
};
const MenuResource kMenus[] = {{IDR_MAINFRAME, kMainMenu, std::size(kMainMenu)}};

// Accelerator table 128: keys given by virtual-key code, with the modifiers held exactly.
// clang-format off
const ACCEL kMainAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
    {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},
    {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
    {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
    {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
};
// clang-format on
const AcceleratorResource kAccelerators[] = {
    {IDR_MAINFRAME, kMainAccelerators, std::size(kMainAccelerators)}};

// Dialog 100, the About box: 256 by 117 dialog units.
// clang-format off
const DialogItemResource kAboutItems[] = {
    {"Static", SS_ICON, 11, 17, 20, 20, IDC_STATIC, MAKEINTRESOURCE(IDR_MAINFRAME)},
    {"Static", SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 10, 158, 8, IDC_STATIC,
     "Pibo's Multi-Media Application Version 1.02"},
    {"Static", SS_LEFT | WS_GROUP, 40, 25, 119, 8, IDC_STATIC,
     "Copyright (C) 2026 The Pibo team"},
    {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 217, 7, 32, 14, IDOK, "OK"},
    {"Static", SS_BLACKRECT, 25, 45, 200, 1, IDC_STATIC, ""},
};
// clang-format on
const DialogResource kDialogs[] = {
    {IDD_ABOUTBOX, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 256, 117, "About Pibo", 8,
     "MS Sans Serif", kAboutItems, std::size(kAboutItems)},
};

} // namespace

const ResourceModule g_piboModule{
    ":/pictures/",     kStrings,      std::size(kStrings),      ":/icons/", kMenus,
    std::size(kMenus), kAccelerators, std::size(kAccelerators), kDialogs,   std::size(kDialogs)};
