#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Small helpers with which the screens build and read their controls.
namespace platform {

QFont plainFont(int pointSize);
QFont boldFont(int pointSize);

QLabel *makeLabel(QWidget *parent, const QString &text, const QFont &font, QRect geometry);
QLineEdit *makeEdit(QWidget *parent, QRect geometry, const QString &text = {}, const QString &hint = {});
// A button whose caption keeps to its width (shrinkToFit).
QPushButton *makeButton(QWidget *parent, const QString &text, const QFont &font, QRect geometry);
// A hidden edit field: a value that other screens read.
QLineEdit *makeHiddenEdit(QWidget *parent);

// Lowers the label's font size until its text fits its width.
void shrinkToFit(QLabel *label);
// Lowers the button's font size until its caption fits, margins included.
void shrinkToFit(QPushButton *button);

// The width in pixels that a one-line field gives its text: its place less
// its frame and the margins the field keeps on either side of the text.
int textRoom(const QLineEdit *field);

// Shows the text whole in the field: in `largest` when it fits, otherwise in
// the largest smaller size that fits (6 points at least).
void showWhole(QLineEdit *field, const QString &text, const QFont &largest);

// The text of a multi-line text box exactly as it holds it, no-break spaces
// included, its lines separated by "\n". Every screen reads its boxes
// through here (QPlainTextEdit::toPlainText() turns U+00A0 into a blank).
QString textOf(const QPlainTextEdit *memo);

// The lines of a multi-line text box, as textOf gives them: none when it is
// empty, and a last line end does not open a further line.
QStringList linesOf(const QPlainTextEdit *memo);

// Inserts text at the box's caret, replacing its selection, as text brought
// in from a file: the box keeps it marked as such, while what the teacher
// types next to it or into it is not.
void insertBroughtInText(QPlainTextEdit *memo, const QString &text);

// The lines of the box as linesOf gives them, each run of text brought in by
// insertBroughtInText passed through `brought` (the escaping that keeps it
// text on a page), the typed text as it is.
QStringList linesOf(const QPlainTextEdit *memo, const std::function<QString(QStringView)> &brought);

} // namespace platform
