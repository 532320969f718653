// The media folders below the current directory and the names of the files asked for in them.
// Folder paths end in the separator, and a file name is appended to them directly.
#pragma once

#include <string>

#include "platform/win/types.h"
#include "res/resource.h"

// Appended to the base directory, also when it already ends in one.
inline constexpr char kPathSeparator = '/';

// The folder names come from the string resources: "sounds/" and "mypics/".
inline constexpr UINT kSoundFolderString = IDS_SOUND_FOLDER;
inline constexpr UINT kPictureFolderString = IDS_PICTURE_FOLDER;

// The start-up sound's path is made of literals: base, separator, folder, separator, file.
inline constexpr LPCSTR kStartupSoundFolder = "sounds";
inline constexpr LPCSTR kStartupSound = "takeoff.wav";

// A letter or digit key's files: its character followed by one of these.
inline constexpr LPCSTR kSoundExtension = ".wav";
inline constexpr LPCSTR kPictureExtension = ".bmp";

// The mouse buttons' sounds.
inline constexpr LPCSTR kLButtonDownSound = "enter.wav";
inline constexpr LPCSTR kLButtonUpSound = "tab.wav";
inline constexpr LPCSTR kRButtonDownSound = "ctrl.wav";
inline constexpr LPCSTR kRButtonUpSound = "back.wav";

// Base directory, separator, folder name (which ends in its own separator).
std::string MediaFolderPath(LPCSTR pszBaseDir, LPCSTR pszFolderName);
// Base directory, separator, "sounds", separator, "takeoff.wav".
std::string StartupSoundPath(LPCSTR pszBaseDir);
// The key's character (its code as one 8-bit character) followed by the extension: "A.wav".
std::string KeyFileName(UINT nChar, LPCSTR pszExtension);
