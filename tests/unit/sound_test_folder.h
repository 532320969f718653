// A private temporary folder for one sound test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class SoundTestFolder {
public:
    SoundTestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pibo-sound.XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~SoundTestFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    SoundTestFolder(const SoundTestFolder&) = delete;
    SoundTestFolder& operator=(const SoundTestFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
