#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The chosen pupil's address for the tablet: a QR code to scan, the address
// written out to type or copy, and the cards of the whole class to print.
class TabletWindow : public QDialog
{
    Q_OBJECT

public:
    // note: a line under the address, when it says something the teacher must know.
    TabletWindow(QWidget *owner, const QString &shownName, const QString &address, const QString &note = {});

    QLabel *Name;
    QLabel *Code;
    QLineEdit *Address;
    QLabel *Note;
    QPushButton *PrintCards;  // "Imprimer les codes de la classe"
    QPushButton *Close;

signals:
    void printRequested();
};
