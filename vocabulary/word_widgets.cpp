#include "vocabulary/word_widgets.h"

#include "core/gbk_codec.h"
#include "core/report_table.h"
#include "core/selectable_label.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

namespace quorvella {

WordTableView::WordTableView(WordListModel* model, QWidget* parent) : QTableView(parent) {
    setModel(model);
    setUpReportTable(*this);
    horizontalHeader()->setMinimumSectionSize(1);
    for (int column = 0; column < int(model->columns().size()); ++column) {
        const WordColumn& shown = model->columns()[std::size_t(column)];
        if (shown.width > 0) {
            setColumnWidth(column, shown.width);
        }
    }
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit rowSelected(selectedRow()); });
}

int WordTableView::selectedRow() const {
    return quorvella::selectedRow(*this);
}

void WordTableView::showSelectedRow(int row) {
    const QSignalBlocker blocker(this);
    quorvella::showSelectedRow(*this, row);
}

GroupChooser::GroupChooser(QWidget* parent) : QGroupBox(QStringLiteral("选择单词"), parent) {
    setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("选择方式："), this);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setAccessibleName(QStringLiteral("选择方式"));
    ComboBox2->addItems({QStringLiteral("按课文列表分组"), QStringLiteral("按字母顺序分组")});
    caption->setBuddy(ComboBox2);
    row->addWidget(caption);
    row->addWidget(ComboBox2, 1);
    layout->addLayout(row);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setAccessibleName(QStringLiteral("选择单词"));
    ListBox2->setAccessibleDescription(QStringLiteral("请双击选择"));
    ListBox2->setToolTip(QStringLiteral("请双击选择"));
    ListBox2->viewport()->installEventFilter(this);
    layout->addWidget(ListBox2, 1);
}

void GroupChooser::showGroups(const std::vector<std::string>& groups) {
    QStringList entries;
    entries.reserve(qsizetype(groups.size()));
    for (const std::string& group : groups) {
        entries << decodeGbk(group);
    }
    ListBox2->clear();
    ListBox2->addItems(entries);
}

int GroupChooser::selectedGroup() const {
    const QModelIndexList selected = ListBox2->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

// The list's own double-click signal comes only from an entry; a double-click on its empty part
// opens "the selected group" too, which is then none.
bool GroupChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox2->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        emit groupDoubleClicked();
    }
    return QGroupBox::eventFilter(watched, event);
}

QFont wordDisplayFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("华文中宋"), QStringLiteral("STZhongsong"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

WordPanel::WordPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel3"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette sky = palette();
    sky.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0)); // sky blue
    setPalette(sky);

    auto* layout = new QVBoxLayout(this);
    const auto makeText = [this, layout](const char* name, const QString& description) {
        auto* label = new SelectableLabel(QString(), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAccessibleDescription(description);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
        return label;
    };
    StaticText1 = makeText("StaticText1", QStringLiteral("单词"));
    StaticText2 = makeText("StaticText2", QStringLiteral("音标"));
    StaticText3 = makeText("StaticText3", QStringLiteral("词义"));
    StaticText1->setFont(wordDisplayFont(35));
    QPalette red = StaticText1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    StaticText1->setPalette(red);
    QFont smaller = font();
    smaller.setPixelSize(19);
    StaticText2->setFont(smaller);
    StaticText3->setFont(smaller);
    StaticText3->setWordWrap(true);
}

void WordPanel::show(const std::string& word, const std::string& phonetic,
                     const std::string& meaning) {
    StaticText1->setText(decodeGbk(word));
    StaticText2->setText(decodeGbk(phonetic));
    StaticText3->setText(decodeGbk(meaning));
}

SpinEdit::SpinEdit(int minimum, int maximum, int value, QWidget* parent) : SpinFieldWidget(parent) {
    m_field.setMinimum(minimum);
    m_field.setMaximum(maximum);
    m_field.setValue(value);
    showText(m_field.text());
    m_field.setChangeHandler([this] {
        showText(m_field.text());
        emit changed();
    });
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_field.setText(text); });
    connect(this, &SpinFieldWidget::stepped, this, [this](int direction) {
        if (direction > 0) {
            m_field.stepUp();
        } else {
            m_field.stepDown();
        }
    });
    connect(this, &SpinFieldWidget::focusLost, this, [this] { m_field.focusLost(); });
}

namespace {

// A speaker with sound waves, drawn here.
QIcon speakerIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 96, 160));
    painter.drawPolygon(QPolygonF({{4, 12}, {10, 12}, {18, 4}, {18, 28}, {10, 20}, {4, 20}}));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 96, 160), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(14, 9, 10, 14), -60 * 16, 120 * 16);
    painter.drawArc(QRectF(14, 4, 16, 24), -60 * 16, 120 * 16);
    return QIcon(pixmap);
}

} // namespace

QLineEdit* makeCountField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(QStringLiteral("0"), parent);
    field->setObjectName(name);
    field->setAccessibleName(QStringLiteral("单词数"));
    field->setFixedWidth(60);
    return field;
}

QToolButton* makeRereadButton(const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(speakerIcon());
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(QStringLiteral("重读这个单词"));
    button->setAccessibleName(QStringLiteral("重读这个单词"));
    return button;
}

} // namespace quorvella
