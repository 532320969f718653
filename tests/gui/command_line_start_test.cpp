// Starts with each kind of command line, in process: what InitInstance shows, asks, plays and
// leaves in the settings store.
#include <fstream>

#include <QApplication>
#include <gtest/gtest.h>

#include "tests/gui/program_fixture.h"

namespace {

using gui_test::ModalAnswer;
using gui_test::Program;
namespace fs = std::filesystem;

int VisibleWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

fs::path KeyFile(const Program& p) {
    return p.config / "Local AppWizard-Generated Applications" /
           "Pibo's Multi-Media Application 1.0.conf";
}

TEST(CommandLineStart, AnExistingFileTitlesTheWindowAndIsLeftUnchanged) {
    gui_test::TempFolder folder;
    std::ofstream(folder / "story.txt") << "once upon a time";
    Program p({(folder / "story.txt").string()});
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(p.title(), "story.txt - Pibo");
    EXPECT_EQ(p.played().size(), 1u);
    std::ifstream in(folder / "story.txt");
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "once upon a time");
}

TEST(CommandLineStart, AMissingFileIsReportedAndEndsTheStartWithoutAWindow) {
    Program p({"no-such-file.txt"});
    gui_test::MessageBoxSeen seen;
    ModalAnswer box(gui_test::AcceptMessageBox(&seen));
    EXPECT_FALSE(p.Start());
    EXPECT_TRUE(box.answered());
    EXPECT_EQ(seen.title, "Pibo's Multi-Media Application 1.0");
    // Named by its full path.
    EXPECT_NE(seen.text.find((fs::current_path() / "no-such-file.txt").string()),
              std::string::npos);
    EXPECT_EQ(p.app.m_pMainWnd, nullptr);
    EXPECT_EQ(VisibleWindows(), 0);
    EXPECT_TRUE(p.played().empty());
}

TEST(CommandLineStart, UnregisterRemovesTheKeyAndSaysSo) {
    Program p({"/UnRegister"});
    std::filesystem::create_directories(KeyFile(p).parent_path());
    std::ofstream(KeyFile(p)) << "[Settings]\nPreviewPages=5\n";
    gui_test::MessageBoxSeen seen;
    ModalAnswer box(gui_test::AcceptMessageBox(&seen));
    EXPECT_FALSE(p.Start());
    EXPECT_TRUE(box.answered());
    EXPECT_EQ(seen.title, "Pibo's Multi-Media Application 1.0");
    EXPECT_EQ(seen.text,
              "System registry entries have been removed and the INI file (if any) was deleted.");
    EXPECT_EQ(VisibleWindows(), 0);
    EXPECT_TRUE(p.played().empty());
    p.app.ExitInstance();
    EXPECT_FALSE(fs::exists(KeyFile(p)));
    EXPECT_FALSE(fs::exists(KeyFile(p).parent_path()));
}

TEST(CommandLineStart, QuietEndsWithoutAnyWindowOrMessage) {
    gui_test::TempFolder folder;
    std::ofstream(folder / "doc.txt") << "x";
    const std::vector<std::vector<std::string>> commandLines = {
        {"/Unregister", "/Embedding"},
        {"/p", (folder / "doc.txt").string()},
        {"/pt", (folder / "doc.txt").string(), "printer", "driver", "port"},
        {"/dde"},
    };
    for (const auto& args : commandLines) {
        SCOPED_TRACE(args.front());
        Program p(args);
        gui_test::NoModal noMessage;
        EXPECT_FALSE(p.Start());
        EXPECT_EQ(VisibleWindows(), 0);
        EXPECT_TRUE(p.played().empty());
    }
}

TEST(CommandLineStart, APrintCommandForAMissingFileIsReported) {
    Program p({"/p", "no-such-file.txt"});
    gui_test::MessageBoxSeen seen;
    ModalAnswer box(gui_test::AcceptMessageBox(&seen));
    EXPECT_FALSE(p.Start());
    EXPECT_TRUE(box.answered());
    EXPECT_EQ(VisibleWindows(), 0);
}

TEST(CommandLineStart, ASlashArgumentThatIsNoSwitchIsAFileName) {
    Program p({"/no-such-folder/file"});
    gui_test::MessageBoxSeen seen;
    ModalAnswer box(gui_test::AcceptMessageBox(&seen));
    EXPECT_FALSE(p.Start());
    EXPECT_NE(seen.text.find("/no-such-folder/file"), std::string::npos);
}

} // namespace
