#pragma once

// The import screen's tests start from the same place: a working folder with
// the templates, the class EVRY / JAURES / CM1 and one student chosen on the
// student screen, and the import screen that student screen opens.
#include "app/screenflow.h"
#include "fakeplatform.h"
#include "import/Unit3.h"
#include "studentchoice.h"
#include "students/Unit2.h"
#include "workingfolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>

#include <memory>

namespace importtest {

inline const QString Eleve = QStringLiteral("Dupont_Jean_jean@ecole.fr");

// File content shown as text, one character per byte, so a failure names
// every invisible byte.
inline QString shown(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

class StudentScreens : public testing::Test
{
protected:
    // The working folder, its templates copied from the folder given.
    void prepare(const QString &reserve)
    {
        folder.copyFolder(reserve, QStringLiteral("reserve"));
        folder.writeText(QStringLiteral("ecole.txt"),
                         {QStringLiteral("EVRY"), QStringLiteral("JAURES"), QStringLiteral("CM1")});
        folder.makeFolder(QStringLiteral("EVRY_JAURES_CM1/lecteurs/") + Eleve);
    }

    // The program started on the student: fresh screens.
    void startAgain()
    {
        students = std::make_unique<TForm2>();
        fakes::chooseStudent(students.get(), Eleve);
        screen = app::makeImportScreen(students.get());
    }

    QString studentFolder() const
    {
        return folder.file(QStringLiteral("EVRY_JAURES_CM1/lecteurs/") + Eleve) + QDir::separator();
    }
    QString student(const QString &name) const { return studentFolder() + name; }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    std::unique_ptr<TForm2> students;
    TForm3 *screen = nullptr;
};

} // namespace importtest
