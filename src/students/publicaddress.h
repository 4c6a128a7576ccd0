#pragma once

#include "students/identity.h"
#include "students/studentlist.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The pupil's discreet address on the publishing host: a random code in
// place of the name and e-mail in the remote student folder, and the first
// name with the surname's initial on the class page. Made once, when the
// pupil is registered, and kept in adresse.txt of the student folder, which
// is never published.
namespace students {

using namespace Qt::StringLiterals;

inline constexpr QLatin1StringView AdresseTxt = "adresse.txt"_L1;

// The code's letters: lower case, without those a tablet's keyboard or a
// voice reading it out confuses (0 o, 1 i l).
inline constexpr QLatin1StringView CodeAlphabet = "23456789abcdefghjkmnpqrstuvwxyz"_L1;
// 20 letters of 31: 99 bits.
inline constexpr int CodeLength = 20;

struct PublicAddress
{
    QString code;       // "k7dqm3xa9pr2tb8wz5hn"
    QString shownName;  // "Zoé D."
};

// A new code from the system's random source, never derived from the pupil.
QString newAddressCode();
bool isAddressCode(QStringView text);

// How the class page names a pupil: the first name and the surname's
// initial. ("Zoé", "Dupont") -> "Zoé D."; ("Anne", "le Goff") -> "Anne L."
QString classPageName(const QString &firstName, const QString &surname);

// The pupil's address, from adresse.txt in the student folder (ending with
// the separator); nothing when the pupil has none (registered before, or
// under adresses=noms). A file that does not hold a code raises
// workspace::IoError: the pupil is never published under the name instead.
std::optional<PublicAddress> readPublicAddress(const QString &studentFolder);
void writePublicAddress(const QString &studentFolder, const PublicAddress &address);

// Whether publication.ini of the working folder asks for the named layout
// for every pupil (adresses=noms in [publication]). Without the file or the
// key, or with another value, the addresses are discreet.
bool namedAddresses(const QString &workingFolder);

// The remote student folder of a pupil being registered (class fields
// upper-cased and folded, student folder ending with the separator): the
// pupil's code where adresse.txt gives one; a new code for a pupil whose
// folder does not exist yet, with the address to write once registered;
// the named folder under adresses=noms, or for a pupil registered before.
struct RemoteFolderChoice
{
    QString remoteFolder;
    std::optional<PublicAddress> newAddress;
};
RemoteFolderChoice registrationRemoteFolder(const Identity &registered, const QString &studentFolder, bool named);

// The remote student folder of a pupil chosen in the list: the code where the
// pupil has one and the layout is not named, the named folder otherwise.
QString listedRemoteFolder(const Identity &classFields, const StudentIdentity &listed, const QString &studentFolder,
                           bool named);

// "../Orvane_A_B_C/k7dqm3xa9pr2tb8wz5hn/"
QString codeRemoteFolder(const Identity &classFields, const QString &code);

// One line of the class page: the folder it links to and its text.
struct ClassPageEntry
{
    QString folder;
    QString text;
};

// The class page's line of a listed pupil (its student folder's name): the
// code and shown name where the pupil has an address and the layout is not
// named, otherwise the folder's name for both.
ClassPageEntry listedEntry(const QString &studentsFolder, const QString &folderName, bool named);

} // namespace students
