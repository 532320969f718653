// The default sound and the exclamation sound. Each is the desktop sound theme's own ("bell" and
// "dialog-warning") when one of its files decodes, else a built-in chime, so that neither is ever
// silent: the X bell, the other obvious choice, is muted on most desktops. Each is decoded once,
// on first need, and kept. Used from the sound service's worker only.
#pragma once

#include <memory>

#include "platform/sound/sound_decode.h"

class SystemSounds {
public:
    // Nothing when `options.cancelled` stopped the decoding; the next call tries again.
    std::shared_ptr<const SoundPcm> Default(const SoundDecodeOptions& options = {});
    std::shared_ptr<const SoundPcm> Exclamation(const SoundDecodeOptions& options = {});
    bool Loaded() const { return m_default && m_exclamation; }

private:
    std::shared_ptr<const SoundPcm> m_default;
    std::shared_ptr<const SoundPcm> m_exclamation;
};
