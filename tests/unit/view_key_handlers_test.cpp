// The view's key handlers, driven by sequences of key messages: which picture each key-down
// shows, which sound it asks for, when it beeps, whether the message goes on to the default
// processing, and how the re-arm flag and the other-key cycle move.
#include <filesystem>
#include <optional>

#include "tests/support/bmp_fixtures.h"
#include "tests/unit/view_fixture.h"

namespace {

using view_test::Outcome;
using view_test::ViewFixture;

constexpr int kNothing = -1; // no picture shown, no sound asked for
constexpr const char* kNoEntry = "";

// One message and what it must do. `picture` is m_nPictureId after a key-down that acts (kNothing
// for one that does not); `sound` is the file appended to the sound folder (kNoEntry: the folder
// alone, after a beep).
struct Step {
    UINT message;
    UINT vk;
    UINT flags;
    UINT repeat;
    int picture;
    const char* sound;
    bool passedOn;
};

Step Down(UINT vk, int picture, const char* sound, UINT flags = 0, bool passedOn = true) {
    return {WM_KEYDOWN, vk, flags, 1, picture, sound, passedOn};
}
Step Held(UINT vk, UINT flags = 0) {
    return {WM_KEYDOWN, vk, flags | KF_REPEAT, 1, kNothing, nullptr, true};
}
Step Up(UINT vk, bool passedOn = true) {
    return {WM_KEYUP, vk, KF_REPEAT | KF_UP, 1, kNothing, nullptr, passedOn};
}
Step SysDown(UINT vk, UINT flags, int picture, const char* sound) {
    return {WM_SYSKEYDOWN, vk, flags, 1, picture, sound, true};
}
Step SysUp(UINT vk, UINT flags) {
    return {WM_SYSKEYUP, vk, flags, 1, kNothing, nullptr, true};
}

struct Sequence {
    const char* name;
    std::vector<Step> steps;
};

// Plays a sequence against a fresh view and checks every step.
void Play(const Sequence& seq) {
    SCOPED_TRACE(seq.name);
    ViewFixture f;
    for (std::size_t i = 0; i < seq.steps.size(); ++i) {
        const Step& s = seq.steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i << " message 0x" << std::hex << s.message
                                        << " vk " << std::dec << s.vk);
        const int pictureBefore = f.view->m_nPictureId;
        const Outcome out = f.Send(s.message, s.vk, s.repeat, s.flags);
        if (s.picture == kNothing) {
            EXPECT_FALSE(out.repainted);
            EXPECT_TRUE(out.played.empty());
            EXPECT_EQ(out.beeps, 0);
            EXPECT_EQ(f.view->m_nPictureId, pictureBefore);
        } else {
            EXPECT_TRUE(out.repainted);
            EXPECT_TRUE(out.repaintBeforeSounds);
            EXPECT_EQ(f.view->m_nPictureId, s.picture);
            EXPECT_TRUE(f.view->m_dib.GetSafeHandle() != nullptr);
            EXPECT_TRUE(f.view->m_bShowPicture);
            EXPECT_FALSE(f.view->m_bKeyReleased);
            ASSERT_EQ(out.played.size(), 1u);
            EXPECT_EQ(out.played[0], std::string("/snd/") + s.sound);
            const bool hasEntry = *s.sound != '\0';
            EXPECT_EQ(out.beeps, hasEntry ? 0 : 1);
            EXPECT_TRUE(out.beepBeforePlay);
        }
        if (s.passedOn) {
            // The message exactly as it was delivered, whatever the handler made of it.
            ASSERT_EQ(out.defaults.size(), 1u);
            EXPECT_EQ(out.defaults[0].message, s.message);
            EXPECT_EQ(out.defaults[0].wParam, s.vk);
            EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(out.defaults[0].lParam)), s.flags);
        } else {
            EXPECT_TRUE(out.defaults.empty());
        }
        if (s.message == WM_KEYUP || s.message == WM_SYSKEYUP) {
            EXPECT_TRUE(f.view->m_bKeyReleased);
        }
    }
}

TEST(ViewKeyHandlers, Sequences) {
    const std::vector<Sequence> sequences = {
        {"the first key-down acts; its character and key-up only pass on",
         {Down('A', 129, "A.wav"), {WM_CHAR, 'a', 0, 1, kNothing, nullptr, true}, Up('A')}},
        {"letters and top-row digits have their own pictures and sounds",
         {Down('Z', 154, "Z.wav"), Up('Z'), Down('0', 155, "0.wav"), Up('0'),
          Down('9', 164, "9.wav"), Up('9'), Down('M', 141, "M.wav"), Up('M')}},
        {"a held key acts once; the key-down after its key-up acts again",
         {Down('A', 129, "A.wav"), Held('A'), Held('A'), Up('A'), Down('B', 130, "B.wav")}},
        {"a key pressed while another is down does nothing",
         {Down(VK_SHIFT, 165, "shift.wav", 0x2A), Down('A', kNothing, nullptr), Up('A'),
          Up(VK_SHIFT), Down('A', 129, "A.wav")}},
        {"a key-down with repeat count 2 while armed leaves the view armed",
         {{WM_KEYDOWN, 'A', 0, 2, kNothing, nullptr, true}, Down('A', 129, "A.wav")}},
        {"seven other keys cycle through the six pictures; letters leave the cycle alone",
         {Down(VK_SPACE, 165, "space.wav"), Up(VK_SPACE), Down(VK_F1, 166, "f1.wav"), Up(VK_F1),
          Down('Q', 145, "Q.wav"), Up('Q'), Down(VK_TAB, 167, "tab.wav"), Up(VK_TAB),
          Down(VK_RETURN, 168, "enter.wav"), Up(VK_RETURN), Down(VK_BACK, 169, "back.wav"),
          Up(VK_BACK), Down(VK_ESCAPE, 170, "f3.wav"), Up(VK_ESCAPE),
          Down(VK_CAPITAL, 165, "caps.wav")}},
        {"keypad 5 plays the digit's sound but shows the next other-key picture",
         {Down(101, 165, "5.wav"), Up(101)}},
        {"keys without a table entry beep and ask for the sound folder itself",
         {Down(186, 165, kNoEntry), Up(186), Down(0, 166, kNoEntry), Up(0),
          Down(200, 167, kNoEntry)}},
        {"a letter with the extended bit is an other key",
         {Down('A', 165, kNoEntry, KF_EXTENDED), Up('A'), Down('5', 166, kNoEntry, KF_EXTENDED)}},
        {"the Windows keys and the menu key act, and their messages are consumed",
         {Down(VK_LWIN, 165, "enter.wav", 0x15B, false), Up(VK_LWIN, false),
          Down(VK_RWIN, 166, "f1.wav", 0x15C, false), Up(VK_RWIN, false),
          Down(VK_APPS, 167, "f2.wav", 0x15D, false), Up(VK_APPS, false)}},
        {"a fresh left Alt, right Alt or F10 acts as F10 and still passes on",
         {SysDown(VK_MENU, 0x2038, 165, "f10.wav"), SysUp(VK_MENU, 0xC038),
          SysDown(VK_MENU, 0x2138, 166, "f10.wav"), SysUp(VK_MENU, 0xC138),
          SysDown(VK_F10, 0x0044, 167, "f10.wav"), Up(VK_F10)}},
        {"auto-repeats of Alt and F10, and F10 with Alt held, only pass on",
         {SysDown(VK_MENU, 0x6038, kNothing, nullptr), SysDown(VK_F10, 0x2044, kNothing, nullptr),
          SysDown(VK_F10, 0x4044, kNothing, nullptr), Down('A', 129, "A.wav")}},
        {"a key pressed with Alt held only passes on (Alt+F4 reaches the default processing)",
         {SysDown(VK_MENU, 0x2038, 165, "f10.wav"), SysDown(VK_F1 + 3, 0x203E, kNothing, nullptr),
          SysUp(VK_F1 + 3, 0xE03E), SysUp(VK_MENU, 0xC038)}},
        {"a system key-up re-arms the view",
         {Down('A', 129, "A.wav"), SysUp('A', 0xE01E), Down('B', 130, "B.wav")}},
    };
    for (const Sequence& seq : sequences)
        Play(seq);
}

TEST(ViewKeyHandlers, ConvertedAltGivesTheDefaultProcessingToTheSystemKeyDownItself) {
    ViewFixture f;
    const Outcome out = f.Send(WM_SYSKEYDOWN, VK_MENU, 1, 0x2038);
    ASSERT_EQ(out.defaults.size(), 1u);
    EXPECT_EQ(out.defaults[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(out.defaults[0].wParam, VK_MENU);
    EXPECT_EQ(out.defaults[0].lParam, MAKELPARAM(1, 0x2038));
}

// Own-pictures mode: letters and digits show the file when it loads, the built-in picture when
// it does not; other keys are not affected.
class OwnPictures : public testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / ("pibo-own-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        ASSERT_TRUE(bmp_fixtures::WriteFile(
            (m_dir / "B.bmp").string(),
            bmp_fixtures::BmpFile(bmp_fixtures::IndexedPicture(20, 10, 8, 30))));
        ASSERT_TRUE(bmp_fixtures::WriteFile((m_dir / "C.bmp").string(), {'B', 'M', 0, 1, 2}));
        f.view->m_strPictureDir = CString((m_dir.string() + "/").c_str());
        f.view->m_bOwnPictures = TRUE;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;
    ViewFixture f;
};

TEST_F(OwnPictures, AFileThatLoadsIsShownAndLeavesThePictureNumber) {
    f.Send(WM_KEYDOWN, 'A');
    f.Send(WM_KEYUP, 'A', 1, 0xC01E);
    ASSERT_EQ(f.view->m_nPictureId, 129); // A.bmp is missing: built-in
    const Outcome out = f.Send(WM_KEYDOWN, 'B');
    EXPECT_TRUE(out.repainted);
    EXPECT_EQ(f.view->m_nPictureId, 129);
    const SIZE size = BitmapSize(f.view->m_dib);
    EXPECT_EQ(size.cx, 20);
    EXPECT_EQ(size.cy, 10);
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], "/snd/B.wav");
}

TEST_F(OwnPictures, AMissingOrBrokenFileFallsBackToTheBuiltInPicture) {
    for (UINT key : {'C', 'D'}) {
        f.Send(WM_KEYDOWN, key);
        EXPECT_EQ(f.view->m_nPictureId, static_cast<int>(key + 64));
        EXPECT_EQ(BitmapSize(f.view->m_dib).cx, 250);
        f.Send(WM_KEYUP, key, 1, 0xC000);
    }
}

TEST_F(OwnPictures, OtherKeysShowTheBuiltInCycle) {
    f.Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(f.view->m_nPictureId, 165);
    EXPECT_EQ(BitmapSize(f.view->m_dib).cx, 250);
}

TEST(ViewKeyHandlers, ABuiltInPictureThatCannotLoadLeavesTheWindowBlankButStillPlays) {
    static const ResourceModule empty{
        ":/no-such-folder/", nullptr, 0, nullptr, nullptr, 0, nullptr, 0};
    ViewFixture f(&empty);
    const Outcome out = f.Send(WM_KEYDOWN, 'A');
    EXPECT_TRUE(f.view->m_bShowPicture);
    EXPECT_EQ(f.view->m_dib.GetSafeHandle(), nullptr);
    EXPECT_TRUE(out.repainted);
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], "/snd/A.wav");
    AfxSetResourceHandle(&g_piboModule);
}

} // namespace
