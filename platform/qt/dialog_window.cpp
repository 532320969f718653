#include "platform/qt/dialog_window.h"

#include <cstring>

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "platform/framework/wnd.h"
#include "platform/qt/icon_resource.h"

namespace pibo::qt {

namespace {

// The system's icon size: an icon control takes this size whatever the template gives.
constexpr int kIconSize = 32;

// A static text shows '&' as the mark of the next letter unless it has SS_NOPREFIX; a label
// without a partner control has no use for the mark, so it is dropped ("&&" stays one '&').
QString StaticText(LPCSTR text, DWORD style) {
    const QString s = QString::fromUtf8(text ? text : "");
    if (style & SS_NOPREFIX)
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) == QLatin1Char('&') && i + 1 < s.size())
            ++i;
        out += s.at(i);
    }
    return out;
}

bool IsClass(LPCSTR className, const char* name) {
    return className && std::strcmp(className, name) == 0;
}

} // namespace

DialogWindow::DialogWindow(CWnd* pWnd, HINSTANCE hInstance, const DialogResource& tmpl,
                           QWidget* parent)
    : QDialog(parent), Window(pWnd) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (tmpl.style & WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (tmpl.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setWindowTitle(QString::fromUtf8(tmpl.caption ? tmpl.caption : ""));
    const QIcon icon = LoadIconResource(hInstance);
    if (!icon.isNull())
        setWindowIcon(icon);

    // The template's face where the system has it, else the system's sans-serif.
    QFont font(QString::fromUtf8(tmpl.typeFace ? tmpl.typeFace : ""));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(tmpl.pointSize > 0 ? tmpl.pointSize : 8);
    setFont(font);
    m_base = BaseUnitsOf(this->font());

    setFixedSize(DialogUnitsToPixelsX(tmpl.cx, m_base), DialogUnitsToPixelsY(tmpl.cy, m_base));
    for (std::size_t i = 0; i < tmpl.itemCount; ++i)
        addControl(hInstance, tmpl.items[i]);
}

DialogWindow::~DialogWindow() {
    windowGone();
}

void DialogWindow::addControl(HINSTANCE hInstance, const DialogItemResource& item) {
    QRect geometry = DialogRectToPixels(item.x, item.y, item.cx, item.cy, m_base);
    QWidget* control = nullptr;
    if (IsClass(item.className, "Button")) {
        auto* button = new QPushButton(QString::fromUtf8(item.text ? item.text : ""), this);
        button->setAutoDefault(false);
        button->setDefault((item.style & 0x0F) == BS_DEFPUSHBUTTON);
        const int id = item.id;
        connect(button, &QPushButton::clicked, this, [this, id] { sendCommand(id); });
        control = button;
    } else if (IsClass(item.className, "Static")) {
        switch (item.style & SS_TYPEMASK) {
        case SS_ICON: {
            // An icon control takes the icon's size, whatever the template gives.
            auto* label = new QLabel(this);
            label->setPixmap(LoadIconResource(hInstance).pixmap(kIconSize, kIconSize));
            geometry.setSize(QSize(kIconSize, kIconSize));
            control = label;
            break;
        }
        case SS_BLACKRECT: {
            auto* rule = new QFrame(this);
            QPalette palette = rule->palette();
            palette.setColor(QPalette::Window, Qt::black);
            rule->setPalette(palette);
            rule->setAutoFillBackground(true);
            control = rule;
            break;
        }
        default: {
            auto* label = new QLabel(StaticText(item.text, item.style), this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            control = label;
            break;
        }
        }
    }
    if (!control)
        return;
    control->setGeometry(geometry);
    control->setProperty("controlId", item.id);
    // Only controls with a tab stop take the keyboard; the first of them has it at the start.
    if (item.style & WS_TABSTOP) {
        control->setFocusPolicy(Qt::StrongFocus);
        if (!m_focusSet) {
            control->setFocus(Qt::OtherFocusReason);
            m_focusSet = true;
        }
    } else {
        control->setFocusPolicy(Qt::NoFocus);
    }
}

void DialogWindow::sendCommand(int id) {
    if (wnd)
        wnd->SendMessage(WM_COMMAND, static_cast<WORD>(id), 0);
}

void DialogWindow::reject() {
    if (wnd)
        sendCommand(IDCANCEL);
    else
        QDialog::reject();
}

void DialogWindow::defaultProcessing(QEvent* event) {
    // The dialog's own keys and buttons are Qt's; nothing reaches it as a message to pass back.
    event->ignore();
}

} // namespace pibo::qt
