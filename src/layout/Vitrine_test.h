#pragma once

#include "platform/screenwindow.h"

#include <QPointer>

class QLabel;
class QPushButton;
class TForm2;
class TForm3;

namespace platform {
class WebView;
}

class TForm1;

// The layout screen most recently created.
extern QPointer<TForm1> Form1;

// The layout screen: the teacher adapts the presentation of the current
// document while watching it in the web view.
class TForm1 : public platform::ScreenWindow
{
    Q_OBJECT

public:
    // Owned by the import screen that opens it.
    explicit TForm1(TForm3 *owner);

    TForm3 *importScreen() const;
    // The student screen that opened the import screen.
    TForm2 *studentScreen() const;

    QString cheminW;    // the student folder path
    QString TitreText;  // the current document's full path

    platform::WebView *WebBrowser1;
    QPushButton *Button1;
    QLabel *Label3;

    void FormCreate();
    void Button1Click();

    // The reading aids (Vitrine_aides.cpp).
    void CheckBox2Click();
    void CheckBox6Click();
    void CheckBox8Click();
    void CheckBox9Click();
    void CheckBox3Change();
    void CheckBox4Change();
    void CheckBox5Change();
    void Edit6ChangeTraccking();

    // The publication of the student's documents (Vitrine_diffusion.cpp).
    void Button9Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
};
