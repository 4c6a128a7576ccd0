#include "publicaddress.h"

#include "publishing/remotepaths.h"
#include "students/selection.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>

#include <algorithm>

namespace students {

QString newAddressCode()
{
    QString code;
    code.reserve(CodeLength);
    QRandomGenerator *random = QRandomGenerator::system();
    for (int i = 0; i < CodeLength; ++i)
        code += QChar(CodeAlphabet[random->bounded(int(CodeAlphabet.size()))]);
    return code;
}

bool isAddressCode(QStringView text)
{
    return text.size() == CodeLength
        && std::all_of(text.begin(), text.end(), [](QChar c) { return CodeAlphabet.contains(c); });
}

QString classPageName(const QString &firstName, const QString &surname)
{
    const QString first = firstName.simplified();
    const QString last = surname.simplified();
    if (last.isEmpty())
        return first;
    return first + u' ' + last.front().toUpper() + u'.';
}

std::optional<PublicAddress> readPublicAddress(const QString &studentFolder)
{
    const QString path = studentFolder + AdresseTxt;
    if (!QFileInfo::exists(path))
        return std::nullopt;
    const QStringList lines = QFileInfo(path).isFile() ? workspace::readLines(path) : QStringList();
    if (lines.isEmpty() || !isAddressCode(lines.first().trimmed()))
        throw workspace::IoError(u"Le fichier « %1 » ne contient pas l'adresse discrète de l'élève : rien n'est publié "
                                 u"sous son nom à la place. Remettez-le tel qu'il était, ou supprimez-le puis "
                                 u"demandez « Rendre l'adresse discrète »."_s.arg(QDir::toNativeSeparators(path)),
                                 path);
    return PublicAddress{lines.first().trimmed(), lines.value(1).trimmed()};
}

void writePublicAddress(const QString &studentFolder, const PublicAddress &address)
{
    workspace::writeLines(studentFolder + AdresseTxt, {address.code, address.shownName});
}

bool namedAddresses(const QString &workingFolder)
{
    const QString path = QDir(workingFolder).filePath(u"publication.ini"_s);
    if (!QFileInfo(path).isFile())
        return false;
    const QSettings settings(path, QSettings::IniFormat);
    return settings.value(u"publication/adresses"_s).toString().trimmed().toLower() == u"noms"_s;
}

QString codeRemoteFolder(const Identity &classFields, const QString &code)
{
    return publishing::remoteStudentFolderPath(classFields.city, classFields.school, classFields.schoolClass, code);
}

RemoteFolderChoice registrationRemoteFolder(const Identity &registered, const QString &studentFolder, bool named)
{
    if (named)
        return {remoteStudentFolder(registered), std::nullopt};
    if (const std::optional<PublicAddress> address = readPublicAddress(studentFolder))
        return {codeRemoteFolder(registered, address->code), std::nullopt};
    if (QFileInfo::exists(studentFolder))
        return {remoteStudentFolder(registered), std::nullopt};
    const PublicAddress address{newAddressCode(), classPageName(registered.firstName, registered.surname)};
    return {codeRemoteFolder(registered, address.code), address};
}

QString listedRemoteFolder(const Identity &classFields, const StudentIdentity &listed, const QString &studentFolder,
                           bool named)
{
    if (!named) {
        if (const std::optional<PublicAddress> address = readPublicAddress(studentFolder))
            return codeRemoteFolder(classFields, address->code);
    }
    return remoteStudentFolder(classFields, listed);
}

ClassPageEntry listedEntry(const QString &studentsFolder, const QString &folderName, bool named)
{
    if (!named) {
        if (const std::optional<PublicAddress> address =
                readPublicAddress(studentsFolder + folderName + QDir::separator()))
            return {address->code, address->shownName};
    }
    return {folderName, folderName};
}

} // namespace students
