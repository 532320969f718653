#include "platform/qt/application.h"

#include <memory>
#include <string>

#include <QApplication>
#include <QProxyStyle>
#include <QSettings>

namespace pibo::qt {

namespace {

// Alt pressed and released alone belongs to the program's key handling, not to the menu bar.
class AltKeyStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_MenuBar_AltKeyNavigation)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

std::unique_ptr<QApplication> g_application;
int g_argc = 1;
std::string g_programName;
char* g_argv[2] = {nullptr, nullptr};

} // namespace

void ConfigureApplication() {
    static bool configured = false;
    if (configured)
        return;
    configured = true;
    QApplication::setStyle(new AltKeyStyle);
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own settings (those of its file dialogs) go nowhere: the program writes no files but
    // its documents and its one settings value.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

void EnsureApplication(const char* programName) {
    if (!QApplication::instance()) {
        g_programName = programName && *programName ? programName : "pibo";
        g_argv[0] = g_programName.data();
        g_application = std::make_unique<QApplication>(g_argc, g_argv);
    }
    ConfigureApplication();
}

void DestroyApplication() {
    g_application.reset();
}

} // namespace pibo::qt
