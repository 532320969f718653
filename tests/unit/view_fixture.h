// A CPiboView without a window, for tests of its handlers: key and mouse messages are sent to it
// through its message map, and what it does is observed through the recording seams: pictures
// (m_nPictureId, m_dib), sound requests and beeps, repaints, and default processing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/framework/window_recorder.h"
#include "platform/sound/sound_recorder.h"
#include "res/module.h"
#include "view/PiboView.h"

namespace view_test {

// What one message made the view do.
struct Outcome {
    bool repainted = false;          // the client area was invalidated and updated
    bool repaintBeforeSounds = true; // every update came before the first sound request
    std::vector<std::string> played; // PlaySoundA paths, in order
    int beeps = 0;                   // MessageBeep(MB_ICONEXCLAMATION) requests
    bool beepBeforePlay = true;      // each beep came just before a sound request
    std::vector<MSG> defaults;       // messages given the default processing
};

class ViewFixture {
public:
    explicit ViewFixture(HINSTANCE hModule = &g_piboModule) {
        AfxSetResourceHandle(hModule);
        view.reset(static_cast<CPiboView*>(RUNTIME_CLASS(CPiboView)->CreateObject()));
        view->m_strSoundDir = "/snd/";
        view->m_strPictureDir = "/pics/";
        windows.onEvent = [this](const pibo::framework::WindowEvent& e) {
            if (e.kind == pibo::framework::WindowEvent::Kind::Update && !sounds.requests().empty())
                m_updateAfterSound = true;
        };
    }

    Outcome Send(UINT message, UINT nChar, UINT nRepCnt = 1, UINT nFlags = 0) {
        return SendRaw(message, nChar,
                       MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
    }

    Outcome SendRaw(UINT message, WPARAM wParam, LPARAM lParam) {
        sounds.clear();
        windows.clear();
        m_updateAfterSound = false;
        view->SendMessage(message, wParam, lParam);
        Outcome out;
        using Kind = pibo::framework::WindowEvent::Kind;
        out.repainted = windows.count(Kind::Invalidate) > 0 && windows.count(Kind::Update) > 0;
        out.repaintBeforeSounds = !m_updateAfterSound;
        const auto& reqs = sounds.requests();
        for (std::size_t i = 0; i < reqs.size(); ++i) {
            if (reqs[i].kind == SoundRequest::Play) {
                out.played.push_back(reqs[i].path);
                EXPECT_EQ(reqs[i].flags, SND_FILENAME | SND_ASYNC);
            } else {
                EXPECT_EQ(reqs[i].type, MB_ICONEXCLAMATION);
                ++out.beeps;
                if (i + 1 >= reqs.size() || reqs[i + 1].kind != SoundRequest::Play)
                    out.beepBeforePlay = false;
            }
        }
        for (const auto& e : windows.events()) {
            if (e.kind == Kind::Default)
                out.defaults.push_back(MSG{nullptr, e.message, e.wParam, e.lParam, nullptr});
        }
        return out;
    }

    SoundRecorder sounds;
    pibo::framework::WindowRecorder windows;
    std::unique_ptr<CPiboView> view;

private:
    bool m_updateAfterSound = false;
};

} // namespace view_test
