#include <gtest/gtest.h>

#include "platform/sound/sound.h"
#include "platform/sound/sound_recorder.h"

// While a recorder lives, requests are recorded with their arguments, in order, and not played;
// an inner recorder takes them until it goes, then the outer one again.
TEST(SoundRecorder, RecordsRequestsInOrderAndNests) {
    SoundRecorder outer;
    EXPECT_EQ(PlaySoundA("/s/A.wav", nullptr, SND_FILENAME | SND_ASYNC), TRUE);
    {
        SoundRecorder inner;
        EXPECT_EQ(MessageBeep(MB_ICONEXCLAMATION), TRUE);
        EXPECT_EQ(PlaySoundA("/s/", nullptr, SND_FILENAME | SND_ASYNC), TRUE);
        ASSERT_EQ(inner.requests().size(), 2u);
        EXPECT_EQ(inner.requests()[0].kind, SoundRequest::Beep);
        EXPECT_EQ(inner.requests()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(inner.requests()[1].kind, SoundRequest::Play);
        EXPECT_EQ(inner.requests()[1].path, "/s/");
    }
    PlaySoundA(nullptr, nullptr, 0);
    ASSERT_EQ(outer.requests().size(), 2u);
    EXPECT_EQ(outer.requests()[0].kind, SoundRequest::Play);
    EXPECT_EQ(outer.requests()[0].path, "/s/A.wav");
    EXPECT_EQ(outer.requests()[0].flags, 0x20001u);
    EXPECT_EQ(outer.requests()[1].path, "");
    outer.clear();
    EXPECT_TRUE(outer.requests().empty());
}
