#include "identity.h"

#include "students/registration.h"
#include "workspace/characters.h"
#include "workspace/folding.h"
#include "workspace/paths.h"

#include <QFile>
#include <QList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace students {

namespace {

bool becomesBlank(QChar c)
{
    switch (c.unicode()) {
    case 0x00A0: // no-break space
    case 0x2007: // figure space
    case 0x2009: // thin space
    case 0x200A: // hair space
    case 0x202F: // narrow no-break space
        return true;
    default:
        return false;
    }
}

bool vanishes(QChar c)
{
    switch (c.unicode()) {
    case 0x00AD: // soft hyphen
    case 0x200B: // zero-width space
    case 0x200C: // zero-width non-joiner
    case 0x200D: // zero-width joiner
    case 0xFEFF: // zero-width no-break space
        return true;
    default:
        return false;
    }
}

bool becomesHyphen(QChar c)
{
    return c.unicode() == 0x2010 || c.unicode() == 0x2011;
}

bool leavesTheFolder(char32_t c)
{
    static const QString forbidden = u"/\\<>:\"|*"_s;
    return (c < 0x10000 && forbidden.contains(QChar(char16_t(c)))) || QChar::category(c) == QChar::Other_Control;
}

bool cutsALink(char32_t c)
{
    return c == U'#' || c == U'%' || c == U'?';
}

QString refusal(const QString &caption, char32_t c, const QString &why)
{
    return u"Le champ « %1 » contient %2, %3 : retirez-le ou remplacez-le."_s.arg(caption,
                                                                                    workspace::shownCharacter(c), why);
}

std::optional<QString> firstRefused(const QList<std::pair<QString, QString>> &fields)
{
    for (const auto &[caption, value] : fields) {
        if (std::optional<QString> message = unsafeFieldMessage(caption, value))
            return message;
    }
    return std::nullopt;
}

// The longest name of a file or folder on the teacher's disk and on the host,
// in the bytes the disk stores.
constexpr qsizetype NameMax = 255;
// Kept in the class folder's name for the host's prefix ("Orvane_").
constexpr qsizetype HostPrefixRoom = 16;

bool tooLongAName(const QString &name, qsizetype room)
{
    return QFile::encodeName(name).size() > NameMax - room;
}

// The field that makes a folder's name too long: the longest of those it is
// made of.
QString tooLongMessage(const QList<std::pair<QString, QString>> &fields, const QString &folder)
{
    const auto longest = std::max_element(fields.begin(), fields.end(), [](const auto &a, const auto &b) {
        return QFile::encodeName(a.second).size() < QFile::encodeName(b.second).size();
    });
    return u"Le champ « %1 » est trop long : le nom du dossier %2 dépasserait ce qu'un nom de dossier peut "
           u"contenir. Raccourcissez-le."_s.arg(longest->first, folder);
}

} // namespace

QString cleanField(const QString &field)
{
    QString cleaned;
    cleaned.reserve(field.size());
    for (const QChar c : field) {
        if (vanishes(c))
            continue;
        if (becomesBlank(c))
            cleaned += u' ';
        else if (becomesHyphen(c))
            cleaned += u'-';
        else
            cleaned += c;
    }
    qsizetype first = 0;
    qsizetype end = cleaned.size();
    while (first < end && cleaned.at(first) == u' ')
        ++first;
    while (end > first && cleaned.at(end - 1) == u' ')
        --end;
    return cleaned.sliced(first, end - first);
}

Identity cleanIdentity(const Identity &typed)
{
    return {cleanField(typed.city),    cleanField(typed.school),    cleanField(typed.schoolClass),
            cleanField(typed.surname), cleanField(typed.firstName), cleanField(typed.mail)};
}

std::optional<QString> unsafeFieldMessage(const QString &caption, const QString &value)
{
    for (const char32_t c : value.toUcs4()) {
        if (leavesTheFolder(c))
            return refusal(caption, c, u"un caractère interdit dans un nom de dossier"_s);
        if (cutsALink(c))
            return refusal(caption, c, u"un caractère qui couperait les liens vers les textes publiés"_s);
        if (!workspace::fitsWindows1252(c))
            return refusal(caption, c, u"un caractère que les fichiers de Tessavo ne savent pas écrire"_s);
    }
    const QString folded = workspace::EnleveAccentsCaseOfDoubles(value);
    if (folded == u"."_s || folded == u".."_s)
        return u"Le champ « %1 » ne peut pas être « . » ni « .. » : corrigez-le."_s.arg(caption);
    return std::nullopt;
}

std::optional<QString> unsafeClassMessage(const Identity &fields)
{
    const QList<std::pair<QString, QString>> named = {
        {u"Ville"_s, fields.city}, {u"Ecole"_s, fields.school}, {u"Classe"_s, fields.schoolClass}};
    if (std::optional<QString> refused = firstRefused(named))
        return refused;
    const QString folder = workspace::classFolderName(classFieldName(fields.city), classFieldName(fields.school),
                                                      classFieldName(fields.schoolClass));
    if (tooLongAName(folder, HostPrefixRoom))
        return tooLongMessage(named, u"de la classe (Ville, Ecole et Classe)"_s);
    return std::nullopt;
}

std::optional<QString> unsafeStudentMessage(const Identity &fields)
{
    const QList<std::pair<QString, QString>> named = {
        {u"Nom"_s, fields.surname}, {u"Prénom"_s, fields.firstName}, {u"Mail"_s, fields.mail}};
    if (std::optional<QString> refused = firstRefused(named))
        return refused;
    const QString folder = workspace::studentFolderName(fields.surname, fields.firstName, fields.mail);
    // The host names the student's folder by the folded form of this name.
    if (tooLongAName(folder, 0) || tooLongAName(workspace::EnleveAccentsCaseOfDoubles(folder), 0))
        return tooLongMessage(named, u"de l'élève (Nom, Prénom et Mail)"_s);
    return std::nullopt;
}

std::optional<QString> pathTooLongMessage(const QString &workingFolder, const Identity &fields)
{
    // Room for the longest path the system opens (4096 bytes), a document's
    // file name in the student folder included.
    constexpr qsizetype PathMax = 4096;
    const QString className = workspace::classFolderName(classFieldName(fields.city), classFieldName(fields.school),
                                                         classFieldName(fields.schoolClass));
    const QString studentFolder = workspace::studentsFolderPath(workingFolder, className)
        + workspace::studentFolderName(fields.surname, fields.firstName, fields.mail) + u'/';
    if (QFile::encodeName(studentFolder).size() + NameMax + 1 < PathMax)
        return std::nullopt;
    return u"Le dossier de travail « %1 » est trop profond : le dossier de cet élève aurait un chemin trop long "
           u"pour y écrire ses textes. Démarrez Tessavo dans un dossier moins profond."_s.arg(workingFolder);
}

} // namespace students
