// The floor that quorvella's start-up is measured against: a bare Qt program that creates nine
// main windows, each with a menu, a text edit, a label and six buttons, shows one maximised and
// quits after its first paint.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <vector>

namespace {

class Window final : public QMainWindow {
public:
    explicit Window(int number) {
        menuBar()
            ->addMenu(QStringLiteral("File %1").arg(number))
            ->addAction(QStringLiteral("Quit"));
        auto* central = new QWidget(this);
        auto* layout = new QVBoxLayout(central);
        layout->addWidget(new QTextEdit(central));
        layout->addWidget(new QLabel(QStringLiteral("Window %1").arg(number), central));
        for (int button = 1; button <= 6; ++button) {
            layout->addWidget(new QPushButton(QStringLiteral("Button %1").arg(button), central));
        }
        setCentralWidget(central);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QMainWindow::paintEvent(event);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::vector<std::unique_ptr<Window>> windows;
    for (int number = 1; number <= 9; ++number) {
        windows.push_back(std::make_unique<Window>(number));
    }
    // Maximised, and covering the screen where no window manager maximises it, as quorvella's
    // launcher is: both paint the same area.
    if (const QScreen* screen = windows.front()->screen()) {
        windows.front()->setGeometry(screen->availableGeometry());
    }
    windows.front()->showMaximized();
    return QApplication::exec();
}
