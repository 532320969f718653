// The program run in the test process on Qt's offscreen platform: a CPiboApp started with given
// arguments in a folder of its own, with its settings store in that folder, and the recording
// seams for sounds and window events. Helpers answer the modal dialogs and message boxes that
// the program opens.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/MainFrame.h"
#include "app/PiboApp.h"
#include "app/PiboDoc.h"
#include "platform/framework/window_recorder.h"
#include "platform/settings/profile_store.h"
#include "platform/sound/sound_recorder.h"
#include "view/PiboView.h"

namespace gui_test {

// A fresh folder that becomes the current directory while the object lives.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

class Program {
public:
    explicit Program(std::vector<std::string> args = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // InitInstance, as the framework calls it.
    BOOL Start();

    CMainFrame* frame() const;
    CPiboView* view() const;
    CPiboDoc* doc() const;
    QWidget* frameWidget() const;
    QWidget* viewWidget() const;
    QWidget* client() const;
    std::string title() const;
    // The paths the program played, in order.
    std::vector<std::string> played() const;

    TempFolder folder;
    std::filesystem::path config;
    SoundRecorder sounds;
    pibo::framework::WindowRecorder windows;
    CPiboApp app;

private:
    std::vector<std::string> m_args;
};

// Runs `action` on the next modal widget that opens (a dialog or a message box), from the event
// loop of that widget. Fails the test when none opens within the time. Returns a handle whose
// destruction checks that the action ran.
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QWidget*)> action, int timeoutMs = 5000);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;
    bool answered() const { return *m_answered; }

private:
    std::shared_ptr<bool> m_answered;
    std::shared_ptr<bool> m_alive;
};

// Fails the test if any modal widget opens while the object lives (and closes it).
class NoModal {
public:
    NoModal();
    ~NoModal();
    NoModal(const NoModal&) = delete;
    NoModal& operator=(const NoModal&) = delete;

private:
    std::shared_ptr<bool> m_alive;
    QPointer<QTimer> m_timer; // deleted with the object when no event loop runs to delete it
};

// Lets queued events run (deferred deletes, posted messages, paints).
void ProcessEvents(int ms = 0);
// The text of a message box (title and text), and presses its default button.
struct MessageBoxSeen {
    std::string title;
    std::string text;
};
std::function<void(QWidget*)> AcceptMessageBox(MessageBoxSeen* seen);

} // namespace gui_test
