#include "lessons/lesson_window.h"

#include "core/gbk_codec.h"
#include "core/line_readers.h"
#include "core/message_port.h"
#include "lessons/text_search.h"
#include "richtext/pane_content.h"
#include "richtext/pane_lines.h"
#include "richtext/rich_text_document.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <algorithm>
#include <vector>

namespace quorvella {

namespace {

// The text tools' fonts as the view's: the colour none stands for the system's window text.
QFont toQFont(const TextFont& font) {
    QFont qfont(font.face);
    qfont.setStyleHint(QFont::SansSerif);
    qfont.setPointSize(font.pointSize);
    qfont.setWeight(QFont::Weight(font.weight));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

TextFont toTextFont(const QFont& font, const QColor& colour) {
    return {font.family(),    font.pointSize(), int(font.weight()),          font.italic(),
            font.underline(), font.strikeOut(), Rgb(colour.rgb() & 0xFFFFFF)};
}

QColor colourOf(const std::optional<Rgb>& colour, const QPalette& palette) {
    return colour ? QColor::fromRgb(QRgb(*colour)) : palette.color(QPalette::WindowText);
}

// Every character of the document at the given height in pixels; its face, style and colour
// stay.
void setCharacterHeight(QTextDocument& document, int pixels) {
    struct Run {
        int start;
        int end;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            runs.push_back(
                {piece.position(), piece.position() + piece.length(), piece.charFormat()});
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (Run& run : runs) {
        run.format.clearProperty(QTextFormat::FontPointSize);
        run.format.setProperty(QTextFormat::FontPixelSize, pixels);
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
    cursor.endEditBlock();
    QFont font = document.defaultFont();
    font.setPixelSize(pixels);
    document.setDefaultFont(font);
}

// Pane text as GBK bytes with CR LF line breaks: Qt separates paragraphs with '\n' in plain
// text and with U+2029 in a selection.
std::string toPaneBytes(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return encodeGbk(text);
}

// A pane's plain text in the form its positions count: one unit per paragraph break.
std::string toSearchBytes(const QString& text) {
    return encodeGbk(text);
}

} // namespace

TForm2::TForm2(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()), m_study(m_folder, *spe),
      m_reading(*spe, applicationMessages()), m_tools(applicationMessages()) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Tamsora课文学习"));
    resize(544, 375);
    spe->setObjectName(QStringLiteral("spe"));
    m_dialogs = {
        [this](const FontAndColour& initial) { return FontColourDialog::ask(initial, this); },
        [this](const QColor& initial) -> std::optional<QColor> {
            const QColor chosen = QColorDialog::getColor(initial, this);
            return chosen.isValid() ? std::optional(chosen) : std::nullopt;
        },
        [this](const QString& lastFile) -> std::optional<QString> {
            const QString chosen = QFileDialog::getOpenFileName(this, QString(), lastFile);
            return chosen.isEmpty() ? std::nullopt : std::optional(chosen);
        }};
    buildLayout();
    renderReadingControls();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
    m_study.readCatalogue();
    for (const std::string& entry : m_study.catalogue()) {
        auto* item = new QListWidgetItem(decodeGbk(entry), ListBox1);
        item->setSizeHint(QSize(0, 16));
    }
    m_readingSettings->fill();
}

// Loading a lesson.

void TForm2::ListBox1DblClick() {
    const int position = ListBox1->currentRow();
    if (position < 0) {
        return; // no entry selected: there is no lesson to load
    }
    m_study.load(position, *this); // stops the speech first; the reading controls stay
}

void TForm2::setTitle(const std::string& title) {
    Edit1->setText(decodeGbk(title));
    Edit1->setCursorPosition(0); // the start of the title shows
}

void TForm2::clearLesson() {
    RichEdit2->clear();
    m_follower.stopped();
    renderWordMark();
}

void TForm2::setLesson(const std::string& text) {
    const QString shown = plainPaneText(text);
    fitWrapping(*RichEdit2->document(), shown);
    RichEdit2->setPlainText(shown);
    m_follower.stopped();
    renderWordMark();
}

std::vector<std::string> TForm2::lessonPaneLines() const {
    return paneLines(*RichEdit2);
}

void TForm2::setCounts(const LessonCounts& counts) {
    Edit3->setText(QString::number(counts.bytes));
    Edit4->setText(QString::number(counts.words));
    Edit5->setText(QString::number(counts.paragraphs));
}

void TForm2::setTranslation(const std::string& text) {
    const QString shown = plainPaneText(text);
    fitWrapping(*richedit1->document(), shown);
    richedit1->setPlainText(shown);
}

// Reading aloud.

std::string TForm2::paneText() const {
    return toPaneBytes(RichEdit2->toPlainText());
}

std::string TForm2::selectedText() const {
    return toPaneBytes(RichEdit2->textCursor().selectedText());
}

bool TForm2::paneHasSelection() const {
    return RichEdit2->textCursor().hasSelection();
}

// After a reading event: the controls follow the state, then the pane gets what the event says.
void TForm2::showReading(ReadAloudController::PaneFocus focus) {
    renderReadingControls();
    applyFocus(focus);
    if (m_reading.state() == ReadAloudController::State::Idle) {
        m_follower.stopped();
    }
    renderWordMark();
}

void TForm2::followSpoken(std::uint64_t spokenBefore, const std::string& pane,
                          const std::string& selection) {
    const ReadAloudController::Spoken& spoken = m_reading.spoken();
    if (spoken.count == spokenBefore) {
        return;
    }
    if (spoken.selection) {
        m_follower.started(decodeGbk(selection), RichEdit2->textCursor().selectionStart());
    } else {
        m_follower.started(decodeGbk(pane), 0);
    }
}

// The word being read has a soft background of its own, drawn over the pane and not part of its
// document: translucent blue shows on the tooltip yellow, on white and on dark backgrounds, and
// the text keeps its colours. It is kept in view.
void TForm2::renderWordMark() {
    QList<QTextEdit::ExtraSelection> marks;
    if (const auto& mark = m_follower.mark()) {
        const int end = std::min(mark->position + mark->length,
                                 int(RichEdit2->document()->characterCount()) - 1);
        QTextCursor start(RichEdit2->document());
        start.setPosition(std::min(mark->position, end));
        QTextCursor word = start;
        word.setPosition(end, QTextCursor::KeepAnchor);
        QTextEdit::ExtraSelection selection;
        selection.cursor = word;
        selection.format.setBackground(QColor(64, 140, 255, 90));
        marks << selection;

        QTextCursor after(RichEdit2->document());
        after.setPosition(end);
        const QRect area = RichEdit2->cursorRect(start).united(RichEdit2->cursorRect(after));
        const QRect view = RichEdit2->viewport()->rect();
        if (area.top() < view.top() || area.bottom() > view.bottom()) {
            QScrollBar* bar = RichEdit2->verticalScrollBar();
            bar->setValue(bar->value() + area.top() - view.height() / 3);
        }
        if (area.left() < view.left() || area.right() > view.right()) {
            QScrollBar* bar = RichEdit2->horizontalScrollBar();
            bar->setValue(bar->value() + area.left() - view.width() / 3);
        }
    }
    RichEdit2->setExtraSelections(marks);
}

void TForm2::applyFocus(ReadAloudController::PaneFocus focus) {
    switch (focus) {
    case ReadAloudController::PaneFocus::Keep:
        break;
    case ReadAloudController::PaneFocus::GiveToPane:
        RichEdit2->setFocus();
        break;
    case ReadAloudController::PaneFocus::CaretToStartAndGiveToPane: {
        QTextCursor cursor = RichEdit2->textCursor();
        cursor.movePosition(QTextCursor::Start);
        RichEdit2->setTextCursor(cursor);
        RichEdit2->setFocus();
        break;
    }
    }
}

void TForm2::renderReadingControls() {
    const ReadAloudController::Controls controls = m_reading.controls();
    BitBtn1->setEnabled(controls.readAll);
    BitBtn2->setEnabled(controls.readSelection);
    m_readingSettings->setVoiceListEnabled(controls.voiceList);
    BitBtn3->setEnabled(controls.pause);
    BitBtn4->setEnabled(controls.resume);
    BitBtn5->setEnabled(controls.stop);
}

void TForm2::BitBtn1Click() {
    const std::uint64_t spoken = m_reading.spoken().count;
    const std::string pane = paneText();
    const ReadAloudController::PaneFocus focus = m_reading.readAll(pane);
    followSpoken(spoken, pane, {});
    showReading(focus);
}

void TForm2::BitBtn2Click() {
    const std::uint64_t spoken = m_reading.spoken().count;
    const std::string selection = selectedText();
    const ReadAloudController::PaneFocus focus = m_reading.readSelection(selection);
    followSpoken(spoken, {}, selection);
    showReading(focus);
}

void TForm2::BitBtn3Click() {
    showReading(m_reading.pause(paneHasSelection()));
}

void TForm2::BitBtn4Click() {
    showReading(m_reading.resume(paneHasSelection()));
}

void TForm2::BitBtn5Click() {
    showReading(m_reading.stop(paneHasSelection()));
}

void TForm2::speTextDataDone() {
    showReading(m_reading.textDone(paneHasSelection()));
}

void TForm2::speWordReached(int offset, int length) {
    if (m_reading.state() == ReadAloudController::State::Idle) {
        return;
    }
    m_follower.wordReached(offset, length);
    renderWordMark();
}

void TForm2::RichEdit2MouseDown(Qt::MouseButton button) {
    const std::uint64_t spoken = m_reading.spoken().count;
    const std::string pane = paneText();
    const std::string selection = selectedText();
    const ReadAloudController::PaneFocus focus =
        m_reading.paneMousePressed(button, pane, selection);
    followSpoken(spoken, pane, selection);
    showReading(focus);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichEdit2->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button != Qt::LeftButton) {
            runHandler([&] { RichEdit2MouseDown(button); });
            return true; // no context menu: the press reads aloud
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm2::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        runHandler([this] { FormShow(); });
    }
}

void TForm2::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!event->spontaneous()) {
        runHandler([this] { FormHide(); });
    }
}

void TForm2::FormShow() {
    m_reading.windowShown();
    renderReadingControls();
}

void TForm2::FormHide() {
    m_reading.windowHidden();
}

// Text tools.

void TForm2::Button2Click() {
    const QString text = RichEdit2->toPlainText();
    const std::string bytes = toSearchBytes(text);
    const DecodedText positions(bytes);
    const QTextCursor cursor = RichEdit2->textCursor();
    const std::size_t start = positions.byteOffset(cursor.selectionStart());
    const std::size_t end = positions.byteOffset(cursor.selectionEnd());
    const ByteSelection found =
        TextSearch(applicationMessages())
            .findNext(bytes, {start, end - start}, encodeGbk(edit2->text()));
    QTextCursor selection(RichEdit2->document());
    selection.setPosition(positions.position(found.start));
    selection.setPosition(positions.position(found.start + found.length), QTextCursor::KeepAnchor);
    RichEdit2->setTextCursor(selection);
    RichEdit2->setFocus();
}

void TForm2::Button1Click() {
    const TextFont& last = m_tools.fontDialogFont();
    const std::optional<FontAndColour> chosen =
        m_dialogs.font({toQFont(last), colourOf(last.colour, RichEdit2->palette())});
    if (!chosen) {
        return;
    }
    m_tools.fontChosen(toTextFont(chosen->font, chosen->colour));
    // The whole pane takes the face, size, style and colour.
    RichEdit2->document()->setDefaultFont(chosen->font);
    QPalette palette = RichEdit2->palette();
    palette.setColor(QPalette::Text, chosen->colour);
    RichEdit2->setPalette(palette);
    QTextCursor all(RichEdit2->document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFont(chosen->font, QTextCharFormat::FontPropertiesAll);
    format.setForeground(chosen->colour);
    all.mergeCharFormat(format);
}

void TForm2::Button8Click() {
    const std::optional<Rgb> start = m_tools.colourDialogColour(paneHasSelection());
    if (!start) {
        return;
    }
    const std::optional<QColor> chosen = m_dialogs.colour(QColor::fromRgb(QRgb(*start)));
    if (!chosen) {
        return;
    }
    m_tools.colourChosen(Rgb(chosen->rgb() & 0xFFFFFF));
    QTextCharFormat format;
    format.setForeground(*chosen);
    RichEdit2->textCursor().mergeCharFormat(format);
}

void TForm2::Button10Click() {
    QPalette palette = RichEdit2->palette();
    for (const TextTools::RestoreStep step : TextTools::restoreDefaultSteps) {
        switch (step) {
        case TextTools::RestoreStep::TooltipBackground:
            palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
            RichEdit2->setPalette(palette);
            break;
        case TextTools::RestoreStep::SelectAll:
            RichEdit2->selectAll();
            break;
        case TextTools::RestoreStep::WindowTextColour: {
            // All the text is selected: the pane's own text colour goes back too.
            palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
            RichEdit2->setPalette(palette);
            QTextCharFormat colour;
            colour.setForeground(palette.color(QPalette::WindowText));
            RichEdit2->textCursor().mergeCharFormat(colour);
            break;
        }
        case TextTools::RestoreStep::DefaultCharacterHeight:
            setCharacterHeight(*RichEdit2->document(), TextTools::kLessonPaneHeight);
            break;
        }
    }
}

void TForm2::Button11Click() {
    m_tools.toggleTranslation();
    renderTranslation();
}

void TForm2::renderTranslation() {
    richedit1->setVisible(m_tools.translationShown());
    Button11->setText(m_tools.translationCaption());
    Button11->setAccessibleName(Button11->text());
}

void TForm2::Button3Click() {
    const std::optional<QString> chosen = m_dialogs.file(m_tools.lastFile());
    if (!chosen) {
        return;
    }
    setPaneContent(*RichEdit2->document(), m_tools.importArticle(*chosen));
    m_follower.stopped();
    renderWordMark();
}

void TForm2::Button9Click() {
    close();
}

} // namespace quorvella
