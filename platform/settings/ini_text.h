// Reading and editing the text of a settings file: sections ("[Settings]") holding entries
// ("PreviewPages=5"). Names compare without regard to case, as registry names do. An edit changes
// only the line it must; every other byte of the text, lines it does not understand included,
// stays as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pibo::settings {

// Whether the text can be a settings file at all (no NUL bytes).
bool IsSettingsText(std::string_view text);
bool HasSection(std::string_view text, std::string_view section);
// The value of the entry in the section (the first of each), blanks around it removed.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view entry);
// The text with the section present (appended, empty, when it was missing).
std::string WithSection(std::string_view text, std::string_view section);
// The text with the entry set to value, made in the section when missing.
std::string WithValue(std::string_view text, std::string_view section, std::string_view entry,
                      std::string_view value);
// A value read as a 32-bit unsigned number in decimal; nothing for any other text.
std::optional<unsigned> ParseNumber(std::string_view value);

} // namespace pibo::settings
