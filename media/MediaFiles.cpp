#include "media/MediaFiles.h"

std::string MediaFolderPath(LPCSTR pszBaseDir, LPCSTR pszFolderName) {
    std::string path = pszBaseDir ? pszBaseDir : "";
    path += kPathSeparator;
    path += pszFolderName ? pszFolderName : "";
    return path;
}

std::string StartupSoundPath(LPCSTR pszBaseDir) {
    std::string path = pszBaseDir ? pszBaseDir : "";
    path += kPathSeparator;
    path += kStartupSoundFolder;
    path += kPathSeparator;
    path += kStartupSound;
    return path;
}

std::string KeyFileName(UINT nChar, LPCSTR pszExtension) {
    std::string name(1, static_cast<char>(nChar & 0xFF));
    name += pszExtension ? pszExtension : "";
    return name;
}
