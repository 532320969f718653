// The About box from dialog template 100: its size and controls in dialog units of its font, the
// ways it closes and what each returns, the frame disabled while it is open, and the view as it
// was afterwards, with the keyboard.
#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "platform/qt/dialog_window.h"
#include "res/module.h"
#include "tests/gui/program_fixture.h"

namespace {

using gui_test::ModalAnswer;
using gui_test::Program;
using pibo::qt::DialogBaseUnits;
using pibo::qt::DialogRectToPixels;

TEST(DialogUnits, ConvertWithTheFontsBaseUnitsRoundingToTheNearestPixel) {
    // MS Sans Serif 8 at 96 dpi has base units 6 by 13; the About box then measures 384 by 190.
    const DialogBaseUnits ms{6, 13};
    EXPECT_EQ(DialogRectToPixels(0, 0, 256, 117, ms), QRect(0, 0, 384, 190));
    EXPECT_EQ(DialogRectToPixels(217, 7, 32, 14, ms),
              QRect(326, 11, 48, 23)); // 325.5, 11.375, 22.75
    EXPECT_EQ(DialogRectToPixels(25, 45, 200, 1, ms), QRect(38, 73, 300, 2)); // 37.5, 73.125, 1.625
    const DialogBaseUnits dejaVu{7, 13};
    EXPECT_EQ(DialogRectToPixels(40, 10, 158, 8, dejaVu), QRect(70, 16, 277, 13)); // 276.5, 16.25

    // The base units: the rounded average width of the 52 letters, and the height.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    const QFontMetrics fm(font);
    const DialogBaseUnits base = pibo::qt::BaseUnitsOf(font);
    const double average = fm.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           52.0;
    EXPECT_LE(std::abs(base.x - average), 0.5 + 1.0 / 52);
    EXPECT_EQ(base.y, fm.height());
}

// The dialog's controls, direct children in creation order.
std::vector<QWidget*> Controls(QWidget* dialog) {
    std::vector<QWidget*> controls;
    for (QObject* o : dialog->children()) {
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
            controls.push_back(w);
    }
    return controls;
}

TEST(AboutBox, TemplateHundredInDialogUnitsOfASansSerifAtEightPoints) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    bool inspected = false;
    ModalAnswer answer([&](QWidget* w) {
        auto* dialog = dynamic_cast<pibo::qt::DialogWindow*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        inspected = true;
        EXPECT_EQ(dialog->windowTitle(), "About Pibo");
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(dialog->parentWidget(), p.frameWidget());
        EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);

        const QFontInfo font(dialog->font());
        EXPECT_EQ(font.pointSize(), 8);
        EXPECT_FALSE(font.fixedPitch());
        const DialogBaseUnits base = dialog->baseUnits();
        EXPECT_EQ(base.x, pibo::qt::BaseUnitsOf(dialog->font()).x);
        EXPECT_EQ(base.y, QFontMetrics(dialog->font()).height());
        auto du = [&](int x, int y, int cx, int cy) {
            return DialogRectToPixels(x, y, cx, cy, base);
        };

        // 256 by 117 units of client area, not resizable.
        EXPECT_EQ(dialog->size(), du(0, 0, 256, 117).size());
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());

        const std::vector<QWidget*> c = Controls(dialog);
        ASSERT_EQ(c.size(), 5u);
        // The icon, at the system's icon size, from the 32-pixel rendition of icon 128.
        auto* icon = qobject_cast<QLabel*>(c[0]);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->geometry(), QRect(du(11, 17, 0, 0).topLeft(), QSize(32, 32)));
        const QImage expectedIcon =
            QImage(QStringLiteral(":/icons/32.png")).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(expectedIcon.isNull());
        EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32), expectedIcon);

        // The two lines of text, each in full on one line of its control.
        auto* name = qobject_cast<QLabel*>(c[1]);
        auto* copyright = qobject_cast<QLabel*>(c[2]);
        ASSERT_NE(name, nullptr);
        ASSERT_NE(copyright, nullptr);
        EXPECT_EQ(name->text(), "Pibo's Multi-Media Application Version 1.02");
        EXPECT_EQ(name->geometry(), du(40, 10, 158, 8));
        EXPECT_TRUE(copyright->text().startsWith("Copyright"));
        EXPECT_EQ(copyright->geometry(), du(40, 25, 119, 8));
        for (QLabel* label : {name, copyright}) {
            const QFontMetrics fm(label->font());
            EXPECT_LE(fm.horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LE(fm.height(), label->height());
        }

        // The default OK button, which has the keyboard.
        auto* ok = qobject_cast<QPushButton*>(c[3]);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(ok->geometry(), du(217, 7, 32, 14));
        EXPECT_EQ(dialog->focusWidget(), ok);

        // The one-unit black rule under the texts.
        EXPECT_EQ(c[4]->geometry(), du(25, 45, 200, 1));
        const QImage shot = dialog->grab().toImage();
        const QPoint mid = c[4]->geometry().center();
        EXPECT_EQ(QColor(shot.pixel(mid)), QColor(Qt::black));
        EXPECT_NE(QColor(shot.pixel(mid + QPoint(0, c[4]->height() + 2))), QColor(Qt::black));

        // The frame is disabled meanwhile and the view cannot take the keyboard back.
        for (int i = 0; i < 50 && QApplication::activeWindow() != dialog; ++i)
            gui_test::ProcessEvents(10);
        ASSERT_EQ(QApplication::activeWindow(), dialog);
        EXPECT_FALSE(p.frame()->IsWindowEnabled());
        EXPECT_FALSE(p.view()->IsWindowEnabled());
        p.view()->SetFocus();
        EXPECT_FALSE(p.viewWidget()->hasFocus());
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);

        dialog->reject();
    });
    CAboutDlg dlg;
    dlg.DoModal();
    EXPECT_TRUE(inspected);
}

TEST(AboutBox, OkEnterEscAndTheCloseBoxCloseItAndTheViewShowsWhatItShowed) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    QTest::keyClick(p.viewWidget(), Qt::Key_A);
    gui_test::ProcessEvents();
    const QImage before = p.client()->grab().toImage();
    p.sounds.clear();

    struct Case {
        const char* name;
        std::function<void(QWidget*)> close;
        int result;
    };
    auto key = [](Qt::Key k) {
        return [k](QWidget* dialog) { QTest::keyClick(dialog->focusWidget(), k); };
    };
    const Case cases[] = {
        {"OK", [](QWidget* d) { qobject_cast<QPushButton*>(Controls(d)[3])->click(); }, IDOK},
        {"Return", key(Qt::Key_Return), IDOK},
        {"Enter", key(Qt::Key_Enter), IDOK},
        {"Esc", key(Qt::Key_Escape), IDCANCEL},
        {"close box", [](QWidget* d) { d->close(); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int result = 0;
        {
            ModalAnswer answer(c.close);
            CAboutDlg dlg;
            result = dlg.DoModal();
            EXPECT_TRUE(answer.answered());
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        gui_test::ProcessEvents(20);
        EXPECT_TRUE(p.frame()->IsWindowEnabled());
        EXPECT_TRUE(p.viewWidget()->hasFocus());
        EXPECT_EQ(p.view()->m_nPictureId, IDB_FIRST_LETTER);
        EXPECT_EQ(p.client()->grab().toImage(), before);
    }
    EXPECT_TRUE(p.played().empty());
    EXPECT_EQ(p.title(), "Untitled - Pibo");
}

TEST(AboutBox, KeysGoToTheBoxAndActInTheViewOnceItClosed) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    QWidget* view = p.viewWidget();
    const std::string dir(p.view()->m_strSoundDir);
    p.sounds.clear();

    // A goes down in the view and up in the box; Esc goes down in the box and up in the view.
    QTest::keyPress(view, Qt::Key_A);
    ModalAnswer answer([&](QWidget* dialog) {
        QTest::keyRelease(dialog->focusWidget(), Qt::Key_A);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_B);
        QTest::keyPress(dialog->focusWidget(), Qt::Key_Escape);
    });
    p.app.OnAppAbout();
    EXPECT_TRUE(answer.answered());
    gui_test::ProcessEvents(20);
    EXPECT_EQ(p.played(), std::vector<std::string>{dir + "A.wav"});
    ASSERT_EQ(QApplication::focusWidget(), view);
    QTest::keyRelease(view, Qt::Key_Escape);

    QTest::keyClick(view, Qt::Key_C);
    EXPECT_EQ(p.view()->m_nPictureId, IDB_FIRST_LETTER + 2);
    EXPECT_EQ(p.played(), (std::vector<std::string>{dir + "A.wav", dir + "C.wav"}));
}

TEST(AboutBox, TheFrameAndTheBoxCarryIcon128) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    auto expectIcon128 = [](const QIcon& icon) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(size);
            EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
            const QImage expected = QImage(QStringLiteral(":/icons/%1.png").arg(size))
                                        .convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(expected.isNull());
            EXPECT_EQ(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32),
                      expected);
        }
    };
    expectIcon128(p.frameWidget()->windowIcon());
    ModalAnswer answer([&](QWidget* dialog) {
        expectIcon128(dialog->windowIcon());
        dialog->close();
    });
    p.app.OnAppAbout();
    EXPECT_TRUE(answer.answered());
}

TEST(AboutBox, WithoutItsTemplateNothingOpens) {
    Program p;
    ASSERT_TRUE(p.Start());
    gui_test::ProcessEvents();
    static const ResourceModule noDialogs{g_piboModule.bitmapFolder, g_piboModule.strings,
                                          g_piboModule.stringCount,  g_piboModule.iconFolder,
                                          g_piboModule.menus,        g_piboModule.menuCount,
                                          g_piboModule.accelerators, g_piboModule.acceleratorCount};
    AfxSetResourceHandle(&noDialogs);
    {
        gui_test::NoModal nothingOpens;
        CAboutDlg dlg;
        EXPECT_EQ(dlg.DoModal(), -1);
    }
    AfxSetResourceHandle(&g_piboModule);
    EXPECT_TRUE(p.frame()->IsWindowEnabled());
}

} // namespace
