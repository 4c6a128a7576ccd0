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
    TabletWindow(QWidget *owner, const QString &shownName, const QString &address);

    QLabel *Name;
    QLabel *Code;
    QLineEdit *Address;
    QPushButton *PrintCards;  // "Imprimer les codes de la classe"
    QPushButton *Close;

signals:
    void printRequested();
};
