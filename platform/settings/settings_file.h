// Whole-file reads and atomic replacement of the settings files: a write goes to a temporary
// file beside the target, which is then renamed over it, so that a reader sees the old text or
// the new one, never a part.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace pibo::settings {

// The contents of a regular file; nothing when it is missing, not a regular file or unreadable.
std::optional<std::string> ReadSettingsFile(const std::filesystem::path& path);
// Replaces (or makes) the file with the text; a file that exists keeps its permissions and, if
// it is a symbolic link, the link stays and its target is replaced. False when nothing changed.
bool WriteSettingsFile(const std::filesystem::path& path, const std::string& text);
// Whether the file could be opened for writing.
bool IsWritable(const std::filesystem::path& path);

} // namespace pibo::settings
