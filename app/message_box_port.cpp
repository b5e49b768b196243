#include "app/message_box_port.h"

#include <QApplication>
#include <QMessageBox>

namespace quorvella {

namespace {

void showBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void MessageBoxPort::showMessage(const QString& text) {
    showBox(QMessageBox::NoIcon, QStringLiteral("quorvella"), text);
}

void MessageBoxPort::showError(const QString& text) {
    showBox(QMessageBox::Critical, QStringLiteral("quorvella"), text);
}

void MessageBoxPort::showApplicationError(const QString& text) {
    showBox(QMessageBox::Critical, QStringLiteral("Application Error"), text);
}

} // namespace quorvella
