#include "platform/settings/profile_store.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/settings/ini_text.h"
#include "platform/settings/settings_file.h"

namespace pibo::settings {

namespace fs = std::filesystem;

ProfileStore::ProfileStore(fs::path root) : m_root(std::move(root)) {}

fs::path ProfileStore::DefaultRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return fs::path(xdg);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/";
    }
    return fs::path(home) / ".config";
}

fs::path ProfileStore::AppKeyFile(LPCSTR company, LPCSTR app) const {
    return m_root / company / (std::string(app) + ".conf");
}

std::optional<std::string> ProfileStore::OpenSection(LPCSTR company, LPCSTR app, LPCSTR section) {
    std::error_code ec;
    const fs::path companyDir = m_root / company;
    if (!fs::is_directory(companyDir, ec)) {
        fs::create_directories(companyDir, ec);
        if (ec)
            return std::nullopt;
    }
    const fs::path file = AppKeyFile(company, app);
    std::optional<std::string> text;
    if (fs::symlink_status(file, ec).type() == fs::file_type::not_found) {
        text = std::string();
    } else {
        text = ReadSettingsFile(file);
        // Unreadable, not a file, or not text: left exactly as it is.
        if (!text || !IsSettingsText(*text) || !IsWritable(file))
            return std::nullopt;
    }
    if (!fs::exists(file, ec) || !HasSection(*text, section)) {
        std::string made = WithSection(*text, section);
        if (!WriteSettingsFile(file, made))
            return std::nullopt;
        text = std::move(made);
    }
    return text;
}

UINT ProfileStore::GetProfileInt(LPCSTR company, LPCSTR app, LPCSTR section, LPCSTR entry,
                                 UINT nDefault) {
    std::optional<std::string> text = OpenSection(company, app, section);
    if (!text)
        return nDefault;
    std::optional<std::string> value = FindValue(*text, section, entry);
    if (!value)
        return nDefault;
    std::optional<unsigned> n = ParseNumber(*value);
    return n ? *n : nDefault;
}

BOOL ProfileStore::WriteProfileInt(LPCSTR company, LPCSTR app, LPCSTR section, LPCSTR entry,
                                   UINT nValue) {
    std::optional<std::string> text = OpenSection(company, app, section);
    if (!text)
        return FALSE;
    std::string updated = WithValue(*text, section, entry, std::to_string(nValue));
    if (updated == *text)
        return TRUE;
    return WriteSettingsFile(AppKeyFile(company, app), updated) ? TRUE : FALSE;
}

BOOL ProfileStore::DeleteAppKey(LPCSTR company, LPCSTR app) {
    std::error_code ec;
    const fs::path file = AppKeyFile(company, app);
    const fs::file_type type = fs::symlink_status(file, ec).type();
    if (type != fs::file_type::not_found) {
        // Only a file (or a link) can be the key; anything else there is not ours to remove.
        if (type != fs::file_type::regular && type != fs::file_type::symlink)
            return FALSE;
        if (::unlink(file.c_str()) != 0)
            return FALSE;
    }
    // The company's key goes when the application's was the last thing in it.
    ::rmdir((m_root / company).c_str());
    return TRUE;
}

} // namespace pibo::settings
