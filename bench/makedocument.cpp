// Writes a reading document of French sentences, for timing whole commands
// (tessavo-aides, iconv) on one file:
//   tessavo_bench_document MEGABYTES OUTPUT [mixed]
// With "mixed", the body lines also carry what a pasted text may hold: tags,
// character references, "+", hyphens, blanks and tabs, signs and letters
// outside the code page's letters; a fixed seed makes the same file each time.

#include "frenchtext.h"

#include "workspace/textfile.h"

#include <QCoreApplication>

#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;

namespace {

const QStringList pieces = {
    u"<b>"_s,     u"</b>"_s,   u"<i>"_s,    u"</i>"_s,    u"<br>"_s,   u"&amp;"_s,  u"&#233;"_s,
    u"&#xF4;"_s,  u"&nbsp;"_s, u"&#xea;"_s, u"&"_s,       u"<"_s,      u">"_s,      u"+"_s,
    u"-"_s,       u" - "_s,    u";"_s,      u"!"_s,       u"?"_s,      u"."_s,      u","_s,
    u":"_s,       u"..."_s,    u"…"_s,      u"«"_s,       u"»"_s,      u"'"_s,      u"\t"_s,
    u"  "_s,      u" "_s,      u"œil"_s,    u"Œuvre"_s,   u"€"_s,      u"ﬁn"_s,     u"chats"_s,
    u"vent"_s,    u"dort;"_s,  u"ou"_s,     u"chou"_s,    u"Abricot"_s, u"il"_s,    u"porte-monnaie"_s,
    u"a+b"_s,     u"x"_s,      u"ÉCOLE"_s,  u"12"_s,      u"\u00a0"_s, u"\u0081"_s, u"\U0001F600"_s, u"<!--FIN-->"_s, u"<!--DEBUT-->"_s,
};

void mix(QStringList &document)
{
    std::mt19937 random(2026);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 6);
    // Body lines lie between the logo line and the end marker.
    const qsizetype first = document.indexOf(u"<!--DEBUT-->"_s) + 2;
    const qsizetype last = document.lastIndexOf(u"<!--FIN-->"_s);
    for (qsizetype i = first; i < last; ++i) {
        QString &line = document[i];
        const int n = count(random);
        for (int k = 0; k < n; ++k) {
            const qsizetype at = std::uniform_int_distribution<qsizetype>(0, line.size())(random);
            line.insert(at, pieces[piece(random)]);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fputs("Usage : tessavo_bench_document MEGAOCTETS SORTIE [mixed]\n", stderr);
        return 2;
    }
    QStringList document = benchtext::readingDocument(qsizetype(arguments[1].toDouble() * 1e6));
    if (arguments.size() > 3 && arguments[3] == u"mixed")
        mix(document);
    workspace::writeLines(arguments[2], document);
    return 0;
}
