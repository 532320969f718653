// The per-user settings store that stands in for the registry's HKEY_CURRENT_USER\Software. The
// store is a folder, $XDG_CONFIG_HOME (~/.config when unset or empty), in which the key
// "<company>\<application>" is the file "<company>/<application>.conf" and the keys below the
// application's key are its sections, holding the values as "Name=number" lines:
//
//     ~/.config/Local AppWizard-Generated Applications/Pibo's Multi-Media Application 1.0.conf
//         [Settings]
//         PreviewPages=5
//
// Files are replaced atomically. A store that cannot be read or written, or a file that is not
// text, reads as the default and is never changed; lines the store does not understand are kept.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/win/types.h"

namespace pibo::settings {

class ProfileStore {
public:
    explicit ProfileStore(std::filesystem::path root);
    // $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
    static std::filesystem::path DefaultRoot();

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path AppKeyFile(LPCSTR company, LPCSTR app) const;

    // Makes the keys down to the section, as opening them for reading and writing does, then
    // reads the value. The default when the keys cannot be made and written or the value is
    // missing or not a number.
    UINT GetProfileInt(LPCSTR company, LPCSTR app, LPCSTR section, LPCSTR entry, UINT nDefault);
    // Sets the value, making the keys as needed; FALSE when it could not be written.
    BOOL WriteProfileInt(LPCSTR company, LPCSTR app, LPCSTR section, LPCSTR entry, UINT nValue);
    // Removes the application's key with everything below it, then the company's key when that
    // has nothing left. TRUE when the application's key is gone.
    BOOL DeleteAppKey(LPCSTR company, LPCSTR app);

private:
    // The text of the application's key with the section made; nothing when it cannot be had.
    std::optional<std::string> OpenSection(LPCSTR company, LPCSTR app, LPCSTR section);

    std::filesystem::path m_root;
};

} // namespace pibo::settings
