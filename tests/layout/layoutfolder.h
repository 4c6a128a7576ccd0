#pragma once

#include "workingfolder.h"

#include <QStringList>

#include <memory>

class TForm1;
class TForm2;
class TForm3;

namespace layouttest {

// A class and one student folder made from the shipped templates, holding a
// reading document written as saving a text writes it.
class StudentFolder
{
public:
    explicit StudentFolder(const fakes::WorkingFolder &folder, const QStringList &text = defaultText());

    static QStringList defaultText();

    QString cheminW;  // ends with the separator
    QString document; // the reading document's full path

    QString cssPath() const;
    QStringList cssLines() const;
    // Rewrites line k (1-based) of the student's style.css.
    void setCssLine(int k, const QString &text) const;
    void setCssLines(const QStringList &lines) const;
};

// A student screen and an import screen, as the teacher leaves them before
// pressing the layout button. They live as long as this object.
class Screens
{
public:
    explicit Screens(const StudentFolder &student);
    ~Screens();

    // The opening runs in the constructor; a failure is raised from here.
    TForm1 *openLayout();

    TForm2 *students;
    TForm3 *import;
};

} // namespace layouttest
