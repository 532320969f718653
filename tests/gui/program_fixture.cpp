#include "tests/gui/program_fixture.h"

#include <cstdlib>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/window.h"
#include "res/module.h"

namespace gui_test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string templ = (fs::temp_directory_path() / "pibo-gui-XXXXXX").string();
    m_path = ::mkdtemp(templ.data());
    m_previous = fs::current_path();
    fs::current_path(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::current_path(m_previous, ec);
    fs::remove_all(m_path, ec);
}

Program::Program(std::vector<std::string> args) : m_args(std::move(args)) {
    config = folder / "config";
    std::vector<char*> argv;
    static char name[] = "pibo";
    argv.push_back(name);
    for (std::string& a : m_args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    AfxWinInit(&g_piboModule, static_cast<int>(m_args.size() + 1), argv.data());
    app.SetProfileStore(std::make_unique<pibo::settings::ProfileStore>(config));
}

Program::~Program() {
    app.CloseAllDocuments();
    ProcessEvents();
}

BOOL Program::Start() {
    return app.InitInstance();
}

CMainFrame* Program::frame() const {
    return static_cast<CMainFrame*>(app.m_pMainWnd);
}

CPiboView* Program::view() const {
    return frame() ? static_cast<CPiboView*>(frame()->GetActiveView()) : nullptr;
}

CPiboDoc* Program::doc() const {
    return view() ? view()->GetDocument() : nullptr;
}

QWidget* Program::frameWidget() const {
    return frame() && frame()->m_hWnd ? frame()->m_hWnd->widget() : nullptr;
}

QWidget* Program::viewWidget() const {
    return view() && view()->m_hWnd ? view()->m_hWnd->widget() : nullptr;
}

QWidget* Program::client() const {
    return view() && view()->m_hWnd ? view()->m_hWnd->client() : nullptr;
}

std::string Program::title() const {
    return frameWidget() ? frameWidget()->windowTitle().toStdString() : std::string();
}

std::vector<std::string> Program::played() const {
    std::vector<std::string> paths;
    for (const SoundRequest& r : sounds.requests()) {
        if (r.kind == SoundRequest::Play)
            paths.push_back(r.path);
    }
    return paths;
}

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> action, int timeoutMs)
    : m_answered(std::make_shared<bool>(false)), m_alive(std::make_shared<bool>(true)) {
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto answered = m_answered;
    auto alive = m_alive;
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (!*alive || *answered || clock->hasExpired(timeoutMs)) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        *answered = true;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start(10);
}

ModalAnswer::~ModalAnswer() {
    *m_alive = false;
}

NoModal::NoModal() : m_alive(std::make_shared<bool>(true)) {
    auto* timer = new QTimer;
    m_timer = timer;
    auto alive = m_alive;
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (!*alive) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal window opened: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    timer->start(10);
}

NoModal::~NoModal() {
    // A last look, for a modal window that opened in the last moment.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "a modal window is open: " << modal->windowTitle().toStdString();
        modal->close();
    }
    *m_alive = false;
    delete m_timer;
}

void ProcessEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (clock.elapsed() < ms);
}

std::function<void(QWidget*)> AcceptMessageBox(MessageBoxSeen* seen) {
    return [seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr) << "not a message box: " << w->metaObject()->className();
        if (seen) {
            seen->title = box->windowTitle().toStdString();
            seen->text = box->text().toStdString();
        }
        // As Return does: the default button.
        QAbstractButton* button = box->defaultButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().constFirst();
        ASSERT_NE(button, nullptr);
        button->click();
    };
}

} // namespace gui_test
