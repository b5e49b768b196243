#pragma once
// The launcher: a full-screen menu of large buttons, one per activity window, and one that ends
// the program. It holds no data and passes nothing to the windows it shows.

#include <QIcon>
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace quorvella {

// Shows an activity window: visible, raised and activated, then maximised (also out of the
// minimised state).
void showActivityWindow(QWidget& window);

// The program's icon for its windows: one picture at each size from 16 to 64 pixels; the
// launcher shows it at 32 x 32.
QIcon programIcon();

class TForm1 final : public QWidget {
    Q_OBJECT

public:
    // The activity windows in button order: lesson, new words, review, grammar, answers, mock
    // test, word banks, help.
    using Activities = std::array<QWidget*, 8>;

    explicit TForm1(QWidget* parent = nullptr);
    void setActivities(const Activities& activities) { m_activities = activities; }

    void FormCreate() {}

signals:
    // The launcher has been closed: the program ends.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showActivity(std::size_t index);

    Activities m_activities{};
    QPushButton* Button9 = nullptr; // "退出程序"
    // Screen readers cannot read painted text: each painted text has a label of no look of its
    // own, over the text, that carries it as its accessible name.
    QLabel* m_heading = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_address = nullptr;
};

} // namespace quorvella
