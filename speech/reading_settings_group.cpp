#include "speech/reading_settings_group.h"

#include "core/message_port.h"

#include "speech/spin_field_widget.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QtDebug>

namespace quorvella {

namespace {

constexpr int fieldWidth = 65;
constexpr QSize buttonSize(57, 25);

QPushButton* makeRestoreButton(QWidget* parent, const QString& name, const QString& row) {
    auto* button = new QPushButton(QStringLiteral("恢复默认"), parent);
    button->setObjectName(name);
    button->setAccessibleName(QStringLiteral("恢复默认") + row);
    button->setFixedSize(buttonSize);
    return button;
}

SpinFieldWidget* makeField(QWidget* parent, const QString& name, const QString& caption) {
    auto* field = new SpinFieldWidget(parent);
    field->setObjectName(name);
    field->setCaption(caption);
    field->setFixedWidth(fieldWidth);
    return field;
}

void addRow(QGridLayout* layout, const QString& caption, QWidget* field, QPushButton* button) {
    const int row = layout->rowCount();
    auto* label = new QLabel(caption, layout->parentWidget());
    label->setBuddy(field);
    layout->addWidget(label, row, 0);
    layout->addWidget(field, row, 1);
    layout->addWidget(button, row, 2);
}

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int position = 0; position < list->count(); ++position) {
        items << list->itemText(position);
    }
    return items;
}

} // namespace

ReadingSettingsGroup::ReadingSettingsGroup(SpeechEngine& engine, WindowKind kind, QWidget* parent)
    : QGroupBox(QStringLiteral("朗读设置"), parent), m_settings(engine, kind),
      m_voiceList(new QComboBox(this)),
      m_speedField(makeField(this, QStringLiteral("speedField"), QStringLiteral("朗读速度"))),
      m_pitchField(makeField(this, QStringLiteral("pitchField"), QStringLiteral("朗读频率"))),
      m_volumeField(makeField(this, QStringLiteral("volumeField"), QStringLiteral("朗读音量"))),
      m_restoreVoice(
          makeRestoreButton(this, QStringLiteral("restoreVoice"), QStringLiteral("声音"))),
      m_restoreSpeed(
          makeRestoreButton(this, QStringLiteral("restoreSpeed"), QStringLiteral("速度"))),
      m_restorePitch(
          makeRestoreButton(this, QStringLiteral("restorePitch"), QStringLiteral("频率"))),
      m_restoreVolume(
          makeRestoreButton(this, QStringLiteral("restoreVolume"), QStringLiteral("音量"))) {
    setAccessibleName(title());
    m_voiceList->setObjectName(QStringLiteral("ComboBox1"));
    m_voiceList->setAccessibleName(QStringLiteral("声音选择"));
    m_voiceList->setEditable(true);
    m_voiceList->setInsertPolicy(QComboBox::NoInsert);
    m_voiceList->setCompleter(nullptr); // the list shows what is typed, not a guess
    m_voiceList->setFixedWidth(fieldWidth);

    auto* layout = new QGridLayout(this);
    // The four rows fit a side panel 208 pixels wide.
    layout->setHorizontalSpacing(4);
    const QMargins margins = layout->contentsMargins();
    layout->setContentsMargins(6, margins.top(), 6, margins.bottom());
    addRow(layout, QStringLiteral("声音选择："), m_voiceList, m_restoreVoice);
    addRow(layout, QStringLiteral("朗读速度："), m_speedField, m_restoreSpeed);
    addRow(layout, QStringLiteral("朗读频率："), m_pitchField, m_restorePitch);
    addRow(layout, QStringLiteral("朗读音量："), m_volumeField, m_restoreVolume);
    const std::vector<QWidget*> order = tabStops();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // activated and textEdited come from the learner only; the program's selections are silent.
    connect(m_voiceList, &QComboBox::activated, this, &ReadingSettingsGroup::voiceActivated);
    connect(m_voiceList->lineEdit(), &QLineEdit::textEdited, this,
            &ReadingSettingsGroup::voiceEdited);
    connect(m_speedField, &QLineEdit::textEdited, this, &ReadingSettingsGroup::speedEdited);
    connect(m_speedField, &SpinFieldWidget::stepped, this, &ReadingSettingsGroup::speedStepped);
    connect(m_speedField, &SpinFieldWidget::focusLost, this, &ReadingSettingsGroup::speedFocusLost);
    connect(m_pitchField, &QLineEdit::textEdited, this, &ReadingSettingsGroup::pitchEdited);
    connect(m_pitchField, &SpinFieldWidget::stepped, this, &ReadingSettingsGroup::pitchStepped);
    connect(m_pitchField, &SpinFieldWidget::focusLost, this, &ReadingSettingsGroup::pitchFocusLost);
    connect(m_volumeField, &QLineEdit::textEdited, this, &ReadingSettingsGroup::volumeEdited);
    connect(m_volumeField, &SpinFieldWidget::stepped, this, &ReadingSettingsGroup::volumeStepped);
    connect(m_volumeField, &SpinFieldWidget::focusLost, this,
            &ReadingSettingsGroup::volumeFocusLost);
    connect(m_restoreVoice, &QPushButton::clicked, this, &ReadingSettingsGroup::restoreVoiceClick);
    connect(m_restoreSpeed, &QPushButton::clicked, this, &ReadingSettingsGroup::restoreSpeedClick);
    connect(m_restorePitch, &QPushButton::clicked, this, &ReadingSettingsGroup::restorePitchClick);
    connect(m_restoreVolume, &QPushButton::clicked, this,
            &ReadingSettingsGroup::restoreVolumeClick);
    render();
}

std::vector<QWidget*> ReadingSettingsGroup::tabStops() const {
    return {m_voiceList,  m_restoreVoice, m_speedField,  m_restoreSpeed,
            m_pitchField, m_restorePitch, m_volumeField, m_restoreVolume};
}

void ReadingSettingsGroup::fill() {
    try {
        m_settings.fill();
    } catch (...) {
        render();
        throw;
    }
    render();
}

void ReadingSettingsGroup::setVoiceListEnabled(bool enabled) {
    m_settings.setVoiceListEnabled(enabled);
    render();
}

void ReadingSettingsGroup::voiceActivated(int position) {
    run([&] { m_settings.pickVoice(position); });
    showVoiceNumber();
}

void ReadingSettingsGroup::voiceEdited(const QString& text) {
    run([&] { m_settings.typeVoice(text); });
}

void ReadingSettingsGroup::speedEdited(const QString& text) {
    run([&] { m_settings.speed().setText(text); });
}

void ReadingSettingsGroup::speedStepped(int direction) {
    run([&] { step(m_settings.speed(), direction); });
}

void ReadingSettingsGroup::speedFocusLost() {
    run([&] { m_settings.speed().focusLost(); });
}

void ReadingSettingsGroup::pitchEdited(const QString& text) {
    run([&] { m_settings.pitch().setText(text); });
}

void ReadingSettingsGroup::pitchStepped(int direction) {
    run([&] { step(m_settings.pitch(), direction); });
}

void ReadingSettingsGroup::pitchFocusLost() {
    run([&] { m_settings.pitch().focusLost(); });
}

void ReadingSettingsGroup::volumeEdited(const QString& text) {
    run([&] { m_settings.volume().setText(text); });
}

void ReadingSettingsGroup::volumeStepped(int direction) {
    run([&] { step(m_settings.volume(), direction); });
}

void ReadingSettingsGroup::volumeFocusLost() {
    run([&] { m_settings.volume().focusLost(); });
}

void ReadingSettingsGroup::restoreVoiceClick() {
    run([&] { m_settings.restoreVoice(); });
}

void ReadingSettingsGroup::restoreSpeedClick() {
    run([&] { m_settings.restoreSpeed(); });
}

void ReadingSettingsGroup::restorePitchClick() {
    run([&] { m_settings.restorePitch(); });
}

void ReadingSettingsGroup::restoreVolumeClick() {
    run([&] { m_settings.restoreVolume(); });
}

// Every handler of the group: an engine error goes to the application's error box, and the
// widgets show the state the logic is in either way.
void ReadingSettingsGroup::run(const std::function<void()>& work) {
    runHandler(work);
    render();
}

void ReadingSettingsGroup::render() {
    {
        const QSignalBlocker blocker(m_voiceList);
        if (itemsOf(m_voiceList) != m_settings.voiceItems()) {
            m_voiceList->clear();
            m_voiceList->addItems(m_settings.voiceItems());
            for (int position = 0; position < m_voiceList->count(); ++position) {
                m_voiceList->setItemData(position, m_settings.voiceNames().value(position),
                                         Qt::ToolTipRole);
            }
            // The drop-down is as wide as its items, though the list itself is narrow.
            QAbstractItemView* view = m_voiceList->view();
            view->setMinimumWidth(view->sizeHintForColumn(0) + view->frameWidth() * 2 +
                                  view->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
            showVoiceNumber();
        }
        const int position = m_settings.voicePosition();
        if (position >= 0 && m_voiceList->currentIndex() != position) {
            m_voiceList->setCurrentIndex(position);
            showVoiceNumber();
        }
        if (m_voiceList->currentText() != m_settings.voiceText()) {
            m_voiceList->setEditText(m_settings.voiceText());
            showVoiceNumber();
        }
    }
    m_voiceList->setToolTip(
        m_settings.voiceNames().value(m_settings.voicePosition())); // the voice chosen
    m_voiceList->setEnabled(m_settings.voiceListEnabled());
    m_speedField->showText(m_settings.speed().text());
    m_pitchField->showText(m_settings.pitch().text());
    m_volumeField->showText(m_settings.volume().text());
}

void ReadingSettingsGroup::showVoiceNumber() {
    m_voiceList->lineEdit()->setCursorPosition(0);
}

void ReadingSettingsGroup::step(SpinField& field, int direction) {
    if (direction > 0) {
        field.stepUp();
    } else {
        field.stepDown();
    }
}

} // namespace quorvella
