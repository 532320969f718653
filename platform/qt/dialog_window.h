// The real window of a dialog: a Qt dialog built from a dialog template, its controls placed in
// dialog units of the template's font. A button sends its command to the dialog's framework
// object; Esc and the close box send IDCANCEL; Enter presses the default button.
#pragma once

#include <QDialog>

#include "platform/qt/dialog_units.h"
#include "platform/qt/window.h"
#include "platform/win/resource_module.h"

namespace pibo::qt {

class DialogWindow : public QDialog, public Window {
public:
    DialogWindow(CWnd* pWnd, HINSTANCE hInstance, const DialogResource& tmpl, QWidget* parent);
    ~DialogWindow() override;

    QWidget* widget() override { return this; }
    void defaultProcessing(QEvent* event) override;

    // The base units the template's dialog units were converted with.
    DialogBaseUnits baseUnits() const { return m_base; }

    // Esc and the close box: the cancel command, which the framework object decides on.
    void reject() override;

private:
    void addControl(HINSTANCE hInstance, const DialogItemResource& item);
    void sendCommand(int id);

    DialogBaseUnits m_base{};
    bool m_focusSet = false;
};

} // namespace pibo::qt
