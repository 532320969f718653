#include "res/module.h"

#include <iterator>

#include "res/resource.h"

namespace {

// The folder names end in the platform's separator: a file name is appended to them directly.
const StringResource kStrings[] = {
    {IDR_MAINFRAME, "Pibo\n\nPibo\n\n\nPibo.Document\nPibo Document"},
    {IDS_PICTURE_FOLDER, "mypics/"},
    {IDS_SOUND_FOLDER, "sounds/"},
    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDS_UNTITLED, "Untitled"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
};

} // namespace

const ResourceModule g_piboModule{":/pictures/", kStrings, std::size(kStrings), ":/icons/"};
