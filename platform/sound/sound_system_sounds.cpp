#include "platform/sound/sound_system_sounds.h"

#include "platform/sound/sound_chime.h"
#include "platform/sound/sound_theme.h"

namespace {

std::shared_ptr<const SoundPcm> Load(std::shared_ptr<const SoundPcm>& cached,
                                     const std::string& themeName, SoundPcm (*makeChime)(),
                                     const SoundDecodeOptions& options) {
    if (cached)
        return cached;
    for (const std::string& path : FindThemeSounds(themeName)) {
        if (std::optional<SoundPcm> pcm = DecodeSoundFile(path, options)) {
            cached = std::make_shared<const SoundPcm>(std::move(*pcm));
            return cached;
        }
        if (options.cancelled && options.cancelled())
            return nullptr;
    }
    cached = std::make_shared<const SoundPcm>(makeChime());
    return cached;
}

} // namespace

std::shared_ptr<const SoundPcm> SystemSounds::Default(const SoundDecodeOptions& options) {
    return Load(m_default, "bell", &MakeDefaultChime, options);
}

std::shared_ptr<const SoundPcm> SystemSounds::Exclamation(const SoundDecodeOptions& options) {
    return Load(m_exclamation, "dialog-warning", &MakeExclamationChime, options);
}
