// quorvella: the study aid's entry point.

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvella"));

    QLabel window(QStringLiteral("Tamsora"));
    window.setWindowTitle(QStringLiteral("Tamsora"));
    window.setAlignment(Qt::AlignCenter);
    window.setStyleSheet(QStringLiteral("background: #A6CAF0; font: bold italic 77px;"));
    window.showMaximized();
    return QApplication::exec();
}
