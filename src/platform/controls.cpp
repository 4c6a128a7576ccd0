#include "controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace platform {

QFont plainFont(int pointSize)
{
    QFont font;
    font.setPointSize(pointSize);
    return font;
}

QFont boldFont(int pointSize)
{
    QFont font = plainFont(pointSize);
    font.setBold(true);
    return font;
}

QLabel *makeLabel(QWidget *parent, const QString &text, const QFont &font, QRect geometry)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(geometry);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &text, const QFont &font, QRect geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setFont(font);
    button->setGeometry(geometry);
    shrinkToFit(button);
    return button;
}

QLineEdit *makeEdit(QWidget *parent, QRect geometry, const QString &text, const QString &hint)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setGeometry(geometry);
    edit->setToolTip(hint);
    return edit;
}

QLineEdit *makeHiddenEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->hide();
    return edit;
}

void shrinkToFit(QLabel *label)
{
    QFont font = label->font();
    while (font.pointSize() > 8 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
        font.setPointSize(font.pointSize() - 1);
    label->setFont(font);
}

void shrinkToFit(QPushButton *button)
{
    QFont font = button->font();
    while (font.pointSize() > 8 && button->sizeHint().width() > button->width()) {
        font.setPointSize(font.pointSize() - 1);
        button->setFont(font);
    }
}

int textRoom(const QLineEdit *field)
{
    // As QLineEdit lays out its text: the style's contents rectangle, less
    // its text margins, less 2 pixels on each side.
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    option.features = QStyleOptionFrame::None;
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

void showWhole(QLineEdit *field, const QString &text, const QFont &largest)
{
    // The field scrolls its text when the caret after it would not fit.
    const auto needed = [&text](const QFont &font) { return QFontMetrics(font).horizontalAdvance(text) + 1; };
    QFont font = largest;
    while (font.pointSizeF() > 6 && needed(font) > textRoom(field))
        font.setPointSizeF(font.pointSizeF() - 0.5);
    field->setFont(font);
    field->setText(text);
    field->setCursorPosition(0);
}

QString textOf(const QPlainTextEdit *memo)
{
    // The document's own characters: its plain-text form would turn every
    // no-break space into a blank. Only the block and line separators become
    // line ends.
    QString text = memo->document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

QStringList linesOf(const QPlainTextEdit *memo)
{
    QString text = textOf(memo);
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

} // namespace platform

namespace platform {

namespace {

// The mark of a run of text brought in from a file.
constexpr int BroughtIn = QTextFormat::UserProperty + 26;
constexpr char Watched[] = "tessavoBroughtInWatched";

QString rawText(QString text)
{
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

} // namespace

void insertBroughtInText(QPlainTextEdit *memo, const QString &text)
{
    QTextCharFormat brought;
    brought.setProperty(BroughtIn, true);
    QTextCursor cursor = memo->textCursor();
    cursor.insertText(text, brought);
    memo->setTextCursor(cursor);
    memo->setCurrentCharFormat(QTextCharFormat());
    // The caret takes the format of the character before it: what the teacher
    // types there is the teacher's own, never marked.
    if (!memo->property(Watched).toBool()) {
        memo->setProperty(Watched, true);
        QObject::connect(memo, &QPlainTextEdit::cursorPositionChanged, memo, [memo] {
            if (memo->currentCharFormat().hasProperty(BroughtIn))
                memo->setCurrentCharFormat(QTextCharFormat());
        });
    }
}

QStringList linesOf(const QPlainTextEdit *memo, const std::function<QString(QStringView)> &brought)
{
    QString text;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        if (block != memo->document()->begin())
            text += u'\n';
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString run = rawText(fragment.fragment().text());
            text += fragment.fragment().charFormat().hasProperty(BroughtIn) ? brought(run) : run;
        }
    }
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

} // namespace platform
