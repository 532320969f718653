// File New, Open and Save on the document that holds nothing: the file dialogs, the title, and
// the files, which a save never truncates or overwrites.
#include <fstream>
#include <sstream>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::ModalAnswer;
using gui_test::Program;
namespace fs = std::filesystem;

std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// Everything below the folder, with the contents of the files.
std::string Snapshot(const fs::path& dir) {
    std::string all;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        all += e.path().string() + "\n";
        if (e.is_regular_file())
            all += Contents(e.path()) + "\n";
    }
    return all;
}

struct DialogSeen {
    std::string title;
    std::string directory;
    std::string proposed;
    QStringList filters;
    bool open = false;
};

// Answers a file dialog: notes what it shows, then chooses `name` (empty: cancels). With
// `pressReturn` the name is left as proposed and Return is pressed in the name field.
std::function<void(QWidget*)> AnswerFileDialog(DialogSeen* seen, std::string name,
                                               bool pressReturn = false) {
    return [=](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        seen->title = dialog->windowTitle().toStdString();
        seen->directory = dialog->directory().absolutePath().toStdString();
        seen->filters = dialog->nameFilters();
        seen->open = dialog->acceptMode() == QFileDialog::AcceptOpen;
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        seen->proposed = edit->text().toStdString();
        if (pressReturn) {
            edit->setFocus();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(edit, &press);
            return;
        }
        if (name.empty()) {
            dialog->reject();
            return;
        }
        edit->setText(QString::fromStdString(name));
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

class DocumentCommands : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(p.Start());
        cwd = fs::current_path();
        Put(cwd / "notes", "some text the program must never change\n");
    }
    void Command(UINT id) { p.frame()->SendMessage(WM_COMMAND, id, 0); }

    Program p;
    fs::path cwd;
};

TEST_F(DocumentCommands, OpenShowsTheDialogAndTitlesTheWindowWithTheFile) {
    p.view()->m_bOwnPictures = TRUE;
    DialogSeen seen;
    ModalAnswer answer(AnswerFileDialog(&seen, "notes"));
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(answer.answered());
    EXPECT_TRUE(seen.open);
    EXPECT_EQ(seen.title, "Open");
    EXPECT_EQ(seen.directory, cwd.string());
    EXPECT_EQ(seen.filters, QStringList{"All Files (*.*)"});
    EXPECT_EQ(p.title(), "notes - Pibo");
    EXPECT_EQ(std::string(p.doc()->GetPathName()), (cwd / "notes").string());
    EXPECT_FALSE(p.view()->m_bOwnPictures); // the initial update ran again
    EXPECT_EQ(Contents(cwd / "notes"), "some text the program must never change\n");
}

TEST_F(DocumentCommands, TheOpenDialogListsFilesWithoutADot) {
    bool listed = false;
    ModalAnswer answer([&](QWidget* w) {
        auto* view = w->findChild<QAbstractItemView*>("listView");
        ASSERT_NE(view, nullptr);
        // The folder is read in the background.
        QElapsedTimer clock;
        clock.start();
        while (!listed && clock.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
            QAbstractItemModel* model = view->model();
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < model->rowCount(root); ++r)
                listed |= model->index(r, 0, root).data().toString() == "notes";
        }
        static_cast<QFileDialog*>(w)->reject();
    });
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(listed);
}

TEST_F(DocumentCommands, ACancelledDialogChangesAndWritesNothing) {
    const std::string before = Snapshot(cwd);
    const std::string config = Snapshot(std::getenv("XDG_CONFIG_HOME"));
    for (UINT id : {ID_FILE_OPEN, ID_FILE_SAVE}) {
        DialogSeen seen;
        ModalAnswer answer(AnswerFileDialog(&seen, ""));
        Command(id);
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_EQ(p.title(), "Untitled - Pibo");
    EXPECT_EQ(Snapshot(cwd), before);
    // Not even the dialogs' own settings.
    EXPECT_EQ(Snapshot(std::getenv("XDG_CONFIG_HOME")), config);
}

TEST_F(DocumentCommands, SaveOnAFreshStartProposesUntitledInTheCurrentFolder) {
    DialogSeen seen;
    ModalAnswer answer(AnswerFileDialog(&seen, "", true));
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(answer.answered());
    EXPECT_FALSE(seen.open);
    EXPECT_EQ(seen.title, "Save As");
    EXPECT_EQ(seen.directory, cwd.string());
    EXPECT_EQ(seen.proposed, "Untitled");
    EXPECT_EQ(seen.filters, QStringList{"All Files (*.*)"});
    ASSERT_TRUE(fs::exists(cwd / "Untitled"));
    EXPECT_EQ(fs::file_size(cwd / "Untitled"), 0u);
    EXPECT_EQ(std::string(p.doc()->GetPathName()), (cwd / "Untitled").string());

    // A second save goes to the same file without a dialog, and leaves it as it is.
    Put(cwd / "Untitled", "written by someone else");
    {
        gui_test::NoModal noDialog;
        Command(ID_FILE_SAVE);
    }
    EXPECT_EQ(Contents(cwd / "Untitled"), "written by someone else");
}

TEST_F(DocumentCommands, SavingIntoAFileThatHoldsDataLeavesItByteForByte) {
    DialogSeen seen;
    {
        // The dialog asks before replacing; the answer is yes.
        ModalAnswer answer(AnswerFileDialog(&seen, "notes"));
        ModalAnswer confirm([](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            box->button(QMessageBox::Yes)->click();
        });
        Command(ID_FILE_SAVE);
        EXPECT_TRUE(confirm.answered());
    }
    EXPECT_EQ(p.title(), "notes - Pibo");
    EXPECT_EQ(Contents(cwd / "notes"), "some text the program must never change\n");
}

TEST_F(DocumentCommands, SaveUnderANewNameMakesAnEmptyFile) {
    DialogSeen seen;
    ModalAnswer answer(AnswerFileDialog(&seen, "saved.pibo"));
    Command(ID_FILE_SAVE);
    EXPECT_EQ(p.title(), "saved.pibo - Pibo");
    ASSERT_TRUE(fs::exists(cwd / "saved.pibo"));
    EXPECT_EQ(fs::file_size(cwd / "saved.pibo"), 0u);
}

TEST_F(DocumentCommands, AFileThatCannotBeMadeIsReportedAndNothingChanges) {
    gui_test::MessageBoxSeen seen;
    ModalAnswer box(gui_test::AcceptMessageBox(&seen));
    EXPECT_FALSE(p.doc()->DoSave((cwd / "no-such-folder" / "x").c_str()));
    EXPECT_TRUE(box.answered());
    EXPECT_EQ(seen.title, "Pibo's Multi-Media Application 1.0");
    EXPECT_NE(seen.text.find("no-such-folder/x"), std::string::npos);
    EXPECT_EQ(p.title(), "Untitled - Pibo");
    EXPECT_FALSE(fs::exists(cwd / "no-such-folder"));
}

TEST_F(DocumentCommands, AFileThatCannotBeOpenedIsReportedAndTheDocumentStays) {
    fs::create_directories(cwd / "folder");
    for (const char* name : {"missing", "folder"}) {
        SCOPED_TRACE(name);
        gui_test::MessageBoxSeen seen;
        ModalAnswer box(gui_test::AcceptMessageBox(&seen));
        EXPECT_EQ(p.app.OpenDocumentFile(name), nullptr);
        EXPECT_TRUE(box.answered());
        EXPECT_NE(seen.text.find(name), std::string::npos);
        EXPECT_EQ(p.title(), "Untitled - Pibo");
        EXPECT_NE(p.frame(), nullptr);
    }
}

} // namespace
