#include "sources.h"

#include "html.h"
#include "office.h"
#include "opendocument.h"
#include "pdf.h"
#include "plaintext.h"
#include "refusals.h"
#include "wordml.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

bool isBlankLine(const QString &line)
{
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c.isSpace(); });
}

QStringList readOfficeFile(const QString &path, std::stop_token stop)
{
    return readThroughOffice(path, officeConverter(), stop);
}

// The kinds Tessavo reads: the file names of each, the group the import
// dialog lists them in, and the reader. The dialog's filter follows the
// rows' order; a group named twice lists the names of both rows.
struct Reader
{
    SourceKind kind;
    QStringList suffixes;
    QString group;
    QStringList (*read)(const QString &path, std::stop_token stop);
};

const QList<Reader> &readers()
{
    static const QList<Reader> table = {
        // The readers of text and markup take a few seconds at most; those
        // that may take longer stop when asked to.
        {SourceKind::PlainText, {u"txt"_s}, u"Textes"_s, [](const QString &p, std::stop_token) { return readPlainText(p); }},
        {SourceKind::OpenDocument, {u"odt"_s}, u"Documents OpenDocument"_s,
         [](const QString &p, std::stop_token stop) { return readOpenDocument(p, std::move(stop)); }},
        {SourceKind::WordDocument, {u"docx"_s}, u"Documents Word"_s,
         [](const QString &p, std::stop_token stop) { return readWordDocument(p, std::move(stop)); }},
        {SourceKind::ThroughOffice, {u"doc"_s}, u"Documents Word"_s, readOfficeFile},
        {SourceKind::ThroughOffice, {u"rtf"_s}, u"Textes enrichis"_s, readOfficeFile},
        // A PDF and a conversion may take longer, and stop when asked to.
        {SourceKind::Pdf, {u"pdf"_s}, u"Documents PDF"_s, readPdf},
        {SourceKind::Html, {u"html"_s, u"htm"_s}, u"Pages web"_s, [](const QString &p, std::stop_token) { return readHtml(p); }},
    };
    return table;
}

const Reader *readerOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const Reader &reader : readers()) {
        if (!reader.suffixes.contains(suffix))
            continue;
        // Without the office suite, the desktop opens what it would convert.
        if (reader.kind == SourceKind::ThroughOffice && officeConverter().isEmpty())
            return nullptr;
        return &reader;
    }
    return nullptr;
}

// "Description (*.a *.b)|*.a;*.b"
QString filterEntry(const QString &description, const QStringList &suffixes)
{
    QStringList patterns;
    for (const QString &suffix : suffixes)
        patterns.append(u"*."_s + suffix);
    return u"%1 (%2)|%3"_s.arg(description, patterns.join(u' '), patterns.join(u';'));
}

} // namespace

SourceKind sourceKind(const QString &path)
{
    const Reader *reader = readerOf(path);
    return reader ? reader->kind : SourceKind::Other;
}

std::optional<QStringList> readSource(const QString &path, std::stop_token stop)
{
    const Reader *reader = readerOf(path);
    if (!reader)
        return std::nullopt;
    const QStringList lines = reader->read(path, stop);
    if (stop.stop_requested())
        throw stopped(path);
    if (std::all_of(lines.cbegin(), lines.cend(), isBlankLine))
        throw noText(path);
    if (std::any_of(lines.cbegin(), lines.cend(), [](const QString &line) { return holdsLongWord(line); }))
        throw longWord(path);
    return lines;
}

QString sourceFilter()
{
    QStringList all;
    QList<std::pair<QString, QStringList>> groups;
    for (const Reader &reader : readers()) {
        all.append(reader.suffixes);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto &g) { return g.first == reader.group; });
        if (group == groups.end())
            groups.append({reader.group, reader.suffixes});
        else
            group->second.append(reader.suffixes);
    }
    QStringList filter = {filterEntry(u"Textes et documents"_s, all)};
    for (const auto &[description, suffixes] : std::as_const(groups))
        filter.append(filterEntry(description, suffixes));
    filter.append(u"Tous les fichiers (*)|*"_s);
    return filter.join(u'|');
}

} // namespace sources
