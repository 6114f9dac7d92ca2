#include "viewer/QtUserInterface.h"

#include "platform/TextCodec.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>

namespace rpt {

namespace {

void ShowBox(QMessageBox::Icon icon, const std::string& text) {
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(),
                    QtUserInterface::DecodeText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

QtUserInterface::~QtUserInterface() {
    if (cursor_ == TCursor::crHourGlass)
        QGuiApplication::restoreOverrideCursor();
}

QString QtUserInterface::DecodeText(const std::string& text) {
    QString decoded = QString::fromStdString(Windows1252ToUtf8(text));
    decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    decoded.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return decoded;
}

void QtUserInterface::ShowMessage(const std::string& text) {
    ShowBox(QMessageBox::NoIcon, text);
}

void QtUserInterface::ShowError(const std::string& text) {
    ShowBox(QMessageBox::Critical, text);
}

void QtUserInterface::ProcessMessages() { QCoreApplication::processEvents(); }

// Only the change between the two looks touches Qt's cursor stack, so the
// stack stays balanced however often the same cursor is set.
void QtUserInterface::SetCursor(TCursor cursor) {
    if (cursor == cursor_)
        return;
    if (cursor == TCursor::crHourGlass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    cursor_ = cursor;
}

} // namespace rpt
