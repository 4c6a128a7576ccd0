#pragma once

#include "publishing/ftpclient.h"
#include "students/identity.h"
#include "students/publicaddress.h"
#include "workspace/result.h"

#include <QString>
#include <QStringList>

#include <functional>

// "Enregistrer cet élève" as one call: the checks, the folders on the
// publishing host, then the class and student folders, the register, the
// class page and the templates, in that order. A refusal writes nothing; a
// failure half-way (a file that cannot be written, the host refusing the
// class page) puts back what was written, and raises.
namespace students {

struct RegistrationRequest
{
    QString workingFolder;
    Identity typed;      // the six fields, cleaned (cleanIdentity)
    QStringList listed;  // the student list as the screen shows it
    bool classInUse = false;  // a class is in use (ecole.txt of the working folder names one)
};

struct Registration
{
    // The class, upper-cased and folded as its folders are named.
    QString city;
    QString school;
    QString schoolClass;
    QString studentsFolder;  // RepertoireW, ending with the separator
    QString student;         // the student folder's name
    QString studentFolder;   // ending with the separator
    QString remoteFolder;    // CheminFTP
    QStringList listed;      // the student list to show after
};

// What the registration tells the teacher on its way without stopping
// (the host out of reach before the e-mail is checked, "Cet élève est déjà
// enregistré", a class page that could not be written or sent).
using Tell = std::function<void(const QString &)>;

// The whole registration on the client of the screen (connected and closed
// here). Refuses, with the French reason, a field, a new class without its
// names, a missing e-mail; raises publishing::FtpError when the host cannot
// make the student's folder, and the I/O failures of the files.
workspace::Result<Registration> registerStudent(const RegistrationRequest &request, publishing::FtpClient &client,
                                                const Tell &tell);

} // namespace students
