#include "sources/hyphens.h"
#include "sources/office.h"
#include "sources/pdflayout.h"
#include "sources/refusals.h"
#include "sources/sources.h"
#include "hostilefiles.h"
#include "sourcefixtures.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The message a reading of the file raises, or the lines it gives.
struct Outcome
{
    std::optional<QStringList> lines;
    QString message;
};

Outcome read(const QString &path)
{
    try {
        return {sources::readSource(path), QString()};
    } catch (const workspace::IoError &error) {
        EXPECT_EQ(error.path(), path);
        return {std::nullopt, error.message()};
    }
}

class Sources : public testing::Test
{
protected:
    // TESSAVO_KEEP_FIXTURES=1 keeps the files written, to look at them.
    Sources() { m_dir.setAutoRemove(!qEnvironmentVariableIsSet("TESSAVO_KEEP_FIXTURES")); }

    QString file(const QString &name) const { return m_dir.filePath(name); }

    void expectLines(const QString &path, const QStringList &expected)
    {
        const Outcome outcome = read(path);
        ASSERT_TRUE(outcome.lines) << outcome.message;
        EXPECT_EQ(*outcome.lines, expected);
    }

    QTemporaryDir m_dir;
};

// French typography that must come through every reader.
const QString Guillemets = u"« Le Loup et l’Agneau »"_s;
const QString Typography = u"Un œuf… à l’été\u00A0! Pourquoi\u202F?"_s;

TEST_F(Sources, PlainTextInEveryEncodingAndLineEnd)
{
    const QStringList lines = {Guillemets, Typography, QString(), u"Fin\tdu conte."_s};
    const QStringList cp1252Lines = {Guillemets, u"Un œuf… à l’été\u00A0!"_s, QString(), u"Fin\tdu conte."_s};
    const auto encoded = [](QStringConverter::Encoding encoding, const QStringList &text, const QString &end) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder(text.join(end)));
    };
    struct Case { const char *name; QByteArray bytes; QStringList expected; };
    const Case cases[] = {
        {"Utf8WithMarkCrLf", encoded(QStringConverter::Utf8, lines, u"\r\n"_s), lines},
        {"Utf8WithoutMarkLf", (lines.join(u'\n') + u'\n').toUtf8(), lines},
        {"Utf16LittleEndianCr", encoded(QStringConverter::Utf16LE, lines, u"\r"_s), lines},
        {"Utf16BigEndianCrLf", encoded(QStringConverter::Utf16BE, lines, u"\r\n"_s), lines},
        {"Windows1252CrLf", QByteArray("\xAB Le Loup et l\x92" "Agneau \xBB\r\nUn \x9C" "uf\x85 \xE0 l\x92\xE9t\xE9\xA0!"
                                       "\r\n\r\nFin\tdu conte.\r\n"), cp1252Lines},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QString::fromLatin1(c.name) + u".txt"_s);
        writeFile(path, c.bytes);
        expectLines(path, c.expected);
    }
}

TEST_F(Sources, OpenDocumentBodyParagraphsWithoutNotesCommentsOrDeletions)
{
    const QByteArray body = R"(
<text:tracked-changes><text:changed-region text:id="c1"><text:deletion><text:p>texte effacé</text:p></text:deletion></text:changed-region></text:tracked-changes>
<text:sequence-decls><text:sequence-decl text:name="Illustration"/></text:sequence-decls>
<text:h text:outline-level="1">« Le Loup et l’Agneau »</text:h>
<text:p>Un   <text:span>œuf…</text:span> à l’été<text:note text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Une note.</text:p></text:note-body></text:note>&#xA0;! Pourquoi&#x202F;?</text:p>
<text:p>Premier vers<text:line-break/>second<text:tab/>vers<text:s text:c="3"/>fin<office:annotation><dc:creator>M.</dc:creator><text:p>Un commentaire</text:p></office:annotation></text:p>
<text:p/>
<text:p><text:s text:c="2"/><text:tab/></text:p>
<text:p>Ajouté<text:change text:change-id="c1"/> ici</text:p>
<text:list><text:list-item><text:p>Premier point</text:p></text:list-item><text:list-item><text:p>Second point</text:p></text:list-item></text:list>
<table:table><table:table-row><table:table-cell><text:p>Case un</text:p></table:table-cell><table:table-cell><text:p>Case deux</text:p></table:table-cell></table:table-row></table:table>
<text:p><draw:frame><svg:title>Titre de l'image</svg:title><draw:text-box><text:p>Dans le cadre</text:p></draw:text-box></draw:frame></text:p>
)";
    const QString path = file(u"conte.odt"_s);
    fixtures::writeOdt(path, body);
    // The heading on its own line, the paragraphs parted by an empty line (an
    // empty paragraph or one of blanks adds none), the items of the list one after the other.
    expectLines(path, {Guillemets, QString(), Typography, QString(), u"Premier vers"_s, u"second\tvers   fin"_s,
                       QString(), u"Ajouté ici"_s, QString(), u"• Premier point"_s, u"• Second point"_s, QString(),
                       u"Case un"_s, QString(), u"Case deux"_s, QString(), u"Dans le cadre"_s});
}

TEST_F(Sources, WordDocumentBodyParagraphsWithoutNotesCommentsDeletionsOrFieldCodes)
{
    const QByteArray body = R"(
<w:p><w:pPr><w:pStyle w:val="Titre"/><w:tabs><w:tab w:val="left" w:pos="720"/></w:tabs></w:pPr><w:r><w:t>« Le Loup et l’Agneau »</w:t></w:r></w:p>
<w:p><w:r><w:t xml:space="preserve">Un œuf… </w:t></w:r><w:del w:id="1" w:author="M."><w:r><w:delText>vieux </w:delText></w:r></w:del><w:ins w:id="2" w:author="M."><w:r><w:t>à</w:t></w:r></w:ins><w:r><w:t xml:space="preserve"> l’été</w:t></w:r><w:r><w:footnoteReference w:id="1"/></w:r><w:r><w:t>&#xA0;! Pourquoi&#x202F;?</w:t></w:r></w:p>
<w:p><w:commentRangeStart w:id="0"/><w:r><w:t>Premier vers</w:t></w:r><w:commentRangeEnd w:id="0"/><w:r><w:commentReference w:id="0"/></w:r><w:r><w:br/><w:t>second</w:t><w:tab/><w:t>vers</w:t></w:r></w:p>
<w:p/>
<w:p><w:r><w:t xml:space="preserve">  </w:t><w:tab/></w:r></w:p>
<w:p><w:pPr><w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr></w:pPr><w:r><w:t>Premier point</w:t></w:r></w:p>
<w:p><w:pPr><w:pStyle w:val="Paragraphedeliste"/></w:pPr><w:r><w:t>Second point</w:t></w:r></w:p>
<w:p><w:r><w:t xml:space="preserve">Page </w:t></w:r><w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText> PAGE </w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>3</w:t></w:r><w:r><w:fldChar w:fldCharType="end"/></w:r><w:moveFrom w:id="5"><w:r><w:t>parti</w:t></w:r></w:moveFrom></w:p>
<w:tbl><w:tblPr/><w:tr><w:tc><w:p><w:r><w:t>Case un</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>Case deux</w:t></w:r></w:p></w:tc></w:tr></w:tbl>
<w:p><w:r><mc:AlternateContent><mc:Choice Requires="wps"><w:drawing><wps:txbx><w:txbxContent><w:p><w:r><w:t>Dans le cadre</w:t></w:r></w:p></w:txbxContent></wps:txbx></w:drawing></mc:Choice><mc:Fallback><w:pict><w:txbxContent><w:p><w:r><w:t>Dans le cadre</w:t></w:r></w:p></w:txbxContent></w:pict></mc:Fallback></mc:AlternateContent></w:r><w:r><w:t>Porte</w:t><w:noBreakHyphen/><w:t>clés</w:t></w:r></w:p>
<w:p><w:r><w:t>Un saut
dans le texte</w:t></w:r></w:p>
)";
    const QString path = file(u"conte.docx"_s);
    fixtures::writeDocx(path, body);
    expectLines(path, {Guillemets, QString(), Typography, QString(), u"Premier vers"_s, u"second\tvers"_s, QString(),
                       u"• Premier point"_s, u"• Second point"_s, QString(), u"Page 3"_s, QString(), u"Case un"_s,
                       QString(), u"Case deux"_s, QString(), u"Dans le cadre"_s, QString(), u"Porte-clés"_s, QString(), u"Un saut dans le texte"_s});
}

TEST_F(Sources, HtmlVisibleTextOneLineAParagraphOrBreak)
{
    struct Case { const char *name; QString html; QStringList expected; };
    const Case cases[] = {
        {"ParagraphsAndBreaks", u"<p>Le <b>loup</b>\n  mange.</p><p>Fin<br>du<BR/>conte</p>"_s,
         {u"Le loup mange."_s, u"Fin"_s, u"du"_s, u"conte"_s}},
        {"HeadScriptStyleAndCommentsHidden",
         u"<html><head><title>Titre</title><style>p{}</style></head><body><!-- <p>caché</p> -->"
         u"<script>var a = '<p>';</script><h1>Conte</h1>texte</body></html>"_s,
         {u"Conte"_s, u"texte"_s}},
        {"References", u"&laquo;&nbsp;L&rsquo;&eacute;t&eacute;&nbsp;&raquo; &#8230; &#x153;uf &amp; &lt;b&gt; &oelig; &#146; & fin"_s,
         {u"«\u00A0L’été\u00A0» … œuf & <b> œ ’ & fin"_s}},
        {"NoBreakSpacesKept", u"<p>Quoi\u202F? Ah\u00A0!</p>"_s, {u"Quoi\u202F? Ah\u00A0!"_s}},
        {"EmptyLineFromTwoBreaks", u"un<br><br>deux"_s, {u"un"_s, QString(), u"deux"_s}},
        {"ListAndTable", u"<ul><li>un</li><li>deux</li></ul><table><tr><td>a</td><td> b </td></tr></table>"_s,
         {u"• un"_s, u"• deux"_s, u"a\tb"_s}},
        // Only an item's first line has the mark; an empty item adds nothing.
        {"ItemsInsideItemsAndParagraphs",
         u"<ol><li><p>un</p></li><li>deux<br>suite<ul><li> trois </li></ul>fin</li><li> </li></ol><p>après</p>"_s,
         {u"• un"_s, u"• deux"_s, u"suite"_s, u"• trois"_s, u"fin"_s, u"après"_s}},
        {"Preformatted", u"<pre>  deux  blancs\nligne</pre>"_s, {u"  deux  blancs"_s, u"ligne"_s}},
        {"QuotedBracketInAttribute", u"<p title=\"a > b\">texte</p>"_s, {u"texte"_s}},
        {"LessThanInText", u"3 < 4"_s, {u"3 < 4"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QString::fromLatin1(c.name) + u".html"_s);
        writeFile(path, c.html.toUtf8());
        expectLines(path, c.expected);
    }
}

TEST_F(Sources, HtmlInTheCodePageItsHeadDeclares)
{
    const QString path = file(u"page.htm"_s);
    writeFile(path, "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                    "</head><body><p>\xAB\xA0" "Caf\xE9\xA0\xBB</p></body></html>");
    expectLines(path, {u"«\u00A0Café\u00A0»"_s});
}

// A text set as a justified page is, with the cuts at lines' ends that make
// the joining rule work.
const QList<fixtures::PdfPage> Fable = {
    {{{u"Le Loup et l’Agneau"_s}, fixtures::PdfParagraph::Title},
     {{u"« La raison du plus fort est toujours la meilleure » : nous l’al-"_s,
       u"lons montrer tout à l’heure. Un agneau se désaltérait dans le"_s,
       u"courant d’une onde pure. Un loup survient à jeun, qui cher-"_s,
       u"chait aventure et tenait un porte-monnaie tout neuf. Le porte-"_s,
       u"monnaie brillait. « Qui te rend si hardi ? » dit-il. Puis dit-"_s,
       u"il encore : « Jean-Pierre et Marie-Claire viennent de Saint-"_s,
       u"Malo, où l’œuf de Pâques est caché… » Et tout finit à Évry."_s}},
     {{u"Le corbeau, sur un arbre perché,"_s, u"Tenait en son bec un fromage."_s,
       u"Maître Renard, par l’odeur alléché,"_s},
      fixtures::PdfParagraph::Verses}},
    {{{u"La page suivante commence ici et elle va jusqu’au bout de sa"_s, u"ligne."_s}}},
};

TEST_F(Sources, PdfParagraphsInReadingOrderWithCutWordsJoined)
{
    const QString path = file(u"fable.pdf"_s);
    fixtures::writePdf(path, Fable);
    // The blanks of French typography around « » ; : ! ? come back as the
    // no-break spaces that the type drew as blanks.
    expectLines(path, {u"Le Loup et l’Agneau"_s, QString(),
                       u"«\u00A0La raison du plus fort est toujours la meilleure\u00A0»\u00A0: nous l’allons montrer "
                       u"tout à l’heure. Un agneau se désaltérait dans le courant d’une onde pure. Un loup survient "
                       u"à jeun, qui cherchait aventure et tenait un porte-monnaie tout neuf. Le porte-monnaie "
                       u"brillait. «\u00A0Qui te rend si hardi\u00A0?\u00A0» dit-il. Puis dit-il encore\u00A0: "
                       u"«\u00A0Jean-Pierre et Marie-Claire viennent de Saint-Malo, où l’œuf de Pâques est "
                       u"caché…\u00A0» Et tout finit à Évry."_s, QString(),
                       u"Le corbeau, sur un arbre perché,"_s, u"Tenait en son bec un fromage."_s,
                       u"Maître Renard, par l’odeur alléché,"_s,
                       u"La page suivante commence ici et elle va jusqu’au bout de sa ligne."_s});
}

// A poem keeps its stanzas and a text its paragraphs set apart: a gap wider
// than the lines' usual one is an empty line. A page's end is none.
TEST_F(Sources, PdfWiderGapsBetweenLinesAreEmptyLines)
{
    using fixtures::PdfParagraph;
    const PdfParagraph stanza1{{u"Le vent se lève sur la plaine,"_s, u"Les blés dorés ploient sous sa main,"_s,
                                u"Et la rivière, au loin, s’entraîne"_s, u"À suivre le même chemin."_s},
                               PdfParagraph::Verses};
    const PdfParagraph stanza2{{u"Le soir descend sur la colline,"_s, u"La lune argente le moulin."_s},
                               PdfParagraph::Verses};
    PdfParagraph reversed = stanza1;
    std::reverse(reversed.lines.begin(), reversed.lines.end());
    struct Case { const char *name; QList<fixtures::PdfPage> pages; QStringList expected; };
    const Case cases[] = {
        {"APoemOfTwoStanzas", {{stanza1, stanza2}}, stanza1.lines + QStringList{QString()} + stanza2.lines},
        {"ATitleThenAPoem", {{{{u"Le Vent"_s}, PdfParagraph::Title}, stanza1}},
         QStringList{u"Le Vent"_s, QString()} + stanza1.lines},
        {"ParagraphsSetApart",
         {{{{u"Le loup avait faim ce matin-là, et il sortit du bois pour chercher"_s, u"à manger."_s}},
           {{u"L’agneau buvait."_s}}}},
         {u"Le loup avait faim ce matin-là, et il sortit du bois pour chercher à manger."_s, QString(),
          u"L’agneau buvait."_s}},
        {"StanzasOnTwoPages", {{stanza1}, {reversed}}, stanza1.lines + reversed.lines},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QString::fromLatin1(c.name) + u".pdf"_s);
        fixtures::writePdf(path, c.pages);
        expectLines(path, c.expected);
    }
}

TEST(PdfLayout, AGapWiderThanTheUsualOneSetsAParagraphApart)
{
    struct Case { const char *name; QList<qreal> tops; QList<bool> apart; };
    const Case cases[] = {
        {"EvenLines", {100, 114, 128, 142}, {false}},
        {"TwoStanzas", {100, 114, 128, 156, 170}, {false, true}},
        // As many wide gaps as usual ones: the usual one is still the smaller.
        {"ACoupletThenALine", {100, 114, 142}, {false, true}},
        {"TwoCouplets", {100, 114, 142, 156}, {false, true}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QList<sources::PdfLine> lines;
        for (const qreal top : c.tops)
            lines.append({u"ligne"_s, QRectF(72, top, 40, 12), 400});
        QList<bool> apart;
        for (const sources::PdfParagraph &p : sources::pageParagraphs(lines))
            apart.append(p.apart);
        // The first word of each line would not fit at the end of the one
        // before, and no line starts with a capital: only the gaps part them.
        EXPECT_EQ(apart, c.apart);
    }
}

TEST_F(Sources, PdfParagraphGoesOnAcrossAPageEnd)
{
    const QString path = file(u"suite.pdf"_s);
    fixtures::writePdf(path, {{{{u"Le titre"_s}, fixtures::PdfParagraph::Title},
                               {{u"Le loup s’approche doucement de"_s}}},
                              {{{u"l’agneau qui boit. Fin."_s}},
                               {{u"Un autre jour, le loup revint au bord du ruisseau pour y boire."_s}}}});
    expectLines(path, {u"Le titre"_s, u"Le loup s’approche doucement de l’agneau qui boit. Fin."_s,
                       u"Un autre jour, le loup revint au bord du ruisseau pour y boire."_s});
}

// A line of a page at a height, as the reader finds it.
sources::PdfLine pdfLine(const QString &text, qreal y)
{
    return {text, QRectF(72, y, 400, 12), 30};
}

TEST(PdfLayout, RunningHeadersFootersAndPageNumbersAreLeftOut)
{
    QList<QList<sources::PdfLine>> pages;
    for (int page = 1; page <= 3; ++page) {
        const QString number = QString::number(page);
        pages.append({pdfLine(u"Fables choisies – édition 2024"_s, 20),
                      pdfLine(u"Texte de la page "_s + number + u'.', 100),
                      pdfLine(u"- "_s + number + u" -"_s, 800)});
    }
    // Two pages whose top line is their own title, at the top of fewer than
    // half the pages: no running line. The foot of the first says "Page 4 / 5".
    pages.append({pdfLine(u"Le Corbeau"_s, 20), pdfLine(u"Texte de la page 4."_s, 100),
                  pdfLine(u"Page 4 / 5"_s, 800)});
    pages.append({pdfLine(u"Le Corbeau"_s, 20), pdfLine(u"Texte de la page 5."_s, 100)});
    sources::leaveOutRunningLines(pages);
    QStringList left;
    for (const auto &lines : pages)
        for (const sources::PdfLine &line : lines)
            left << line.text;
    EXPECT_EQ(left, (QStringList{u"Texte de la page 1."_s, u"Texte de la page 2."_s, u"Texte de la page 3."_s,
                                 u"Le Corbeau"_s, u"Texte de la page 4."_s, u"Le Corbeau"_s,
                                 u"Texte de la page 5."_s}));

    // One page: nothing is a running line.
    QList<QList<sources::PdfLine>> single = {{pdfLine(u"Titre"_s, 20), pdfLine(u"1"_s, 800)}};
    sources::leaveOutRunningLines(single);
    EXPECT_EQ(single.first().size(), 2);
}

sources::PdfParagraph paragraph(const QStringList &lines)
{
    return {lines};
}

QList<QStringList> texts(const QList<sources::PdfParagraph> &paragraphs)
{
    QList<QStringList> lines;
    for (const sources::PdfParagraph &p : paragraphs)
        lines.append(p.lines);
    return lines;
}

TEST(PdfLayout, AParagraphGoesOnToTheNextPageOrColumnOnlyMidSentence)
{
    struct Case { const char *name; QString last; QString first; bool goesOn; };
    const Case cases[] = {
        {"mid-sentence", u"Le loup s’approche de"_s, u"l’agneau."_s, true},
        {"a comma", u"Le loup, qui a faim,"_s, u"s’approche."_s, true},
        {"a cut word", u"Le loup s’appro-"_s, u"che."_s, true},
        {"a full stop", u"Le loup s’approche."_s, u"l’agneau boit."_s, false},
        {"a closing quote after the stop", u"« Qui es-tu ? »"_s, u"dit-il."_s, false},
        {"a title then its text", u"Le Corbeau"_s, u"Maître Corbeau."_s, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<QStringList> paragraphs =
            texts(sources::documentParagraphs({{paragraph({c.last})}, {paragraph({c.first}), paragraph({u"Fin."_s})}}));
        EXPECT_EQ(paragraphs.size(), c.goesOn ? 2 : 3);
        EXPECT_EQ(paragraphs.first(), c.goesOn ? (QStringList{c.last, c.first}) : QStringList{c.last});
        // The same from the foot of a column to the top of the next one.
        const QList<QStringList> columns =
            texts(sources::pageParagraphs({pdfLine(c.last, 500), {c.first, QRectF(320, 100, 200, 12), 30}}));
        const QList<QStringList> expected =
            c.goesOn ? QList<QStringList>{{c.last, c.first}} : QList<QStringList>{{c.last}, {c.first}};
        EXPECT_EQ(columns, expected);
    }
}

TEST(Hyphens, KeepTheHyphenOnlyWhereItIsPartOfTheWord)
{
    const QSet<QString> known = {u"porte-monnaie"_s, u"cherchait"_s, u"porte"_s, u"monnaie"_s, u"petit"_s,
                                 u"chat"_s, u"arc-en-ciel"_s, u"bonjour"_s, u"bon"_s, u"jour"_s};
    struct Case { const char *name; QString before; QChar hyphen; QString after; bool keeps; };
    const Case cases[] = {
        {"PrintersCutOfAKnownWord", u"cher"_s, u'-', u"chait"_s, false},
        {"CompoundInTheList", u"porte"_s, u'-', u"monnaie"_s, true},
        {"CompoundOfThreeParts", u"arc-en"_s, u'-', u"ciel"_s, true},
        {"JoinedWordWinsOverTwoWords", u"bon"_s, u'-', u"jour"_s, false},
        {"BeforeACapital", u"Jean"_s, u'-', u"Pierre"_s, true},
        {"BeforeAPronoun", u"dit"_s, u'-', u"il"_s, true},
        {"EuphonicT", u"a-t"_s, u'-', u"elle"_s, true},
        {"TwoWordsOfTheList", u"petit"_s, u'-', u"chat"_s, true},
        {"UnknownCutIsABreak", u"zorg"_s, u'-', u"lub"_s, false},
        {"SoftHyphenIsAlwaysABreak", u"porte"_s, u'\u00AD', u"monnaie"_s, false},
        {"CaseDoesNotMatter", u"PORTE"_s, u'-', u"monnaie"_s, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sources::keepsHyphen(c.before, c.hyphen, c.after, known), c.keeps);
    }
    EXPECT_EQ(sources::joinLines({u"Le porte-"_s, u"monnaie de la cher-"_s, u"cheuse, tiret -"_s, u" fin"_s},
                                 {u"porte-monnaie"_s, u"chercheuse"_s}),
              u"Le porte-monnaie de la chercheuse, tiret - fin"_s);
}

TEST(Hyphens, TheWordListHoldsTheCompoundsAndTheWords)
{
    if (!QFile::exists(sources::defaultWordList()))
        GTEST_SKIP() << "no French word list (wfrench)";
    const QSet<QString> known = sources::knownWords({u"porte-monnaie"_s, u"cherchait"_s, u"zorglub"_s, u"il"_s});
    EXPECT_EQ(known, (QSet<QString>{u"porte-monnaie"_s, u"cherchait"_s, u"il"_s}));
}

// A file of each kind that is damaged, encrypted, empty or too large gets its
// message naming it, and gives no text.
TEST_F(Sources, RefusedFilesAreToldByName)
{
    const QByteArray garbage = QByteArray("PK\x03\x04 ceci n'est pas une archive").repeated(20);
    const auto sparse = [](qint64 size) {
        return [size](const QString &path) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_TRUE(f.resize(size));
        };
    };
    const auto bytes = [](QByteArray content) {
        return [content](const QString &path) { writeFile(path, content); };
    };
    const auto truncated = [this](const std::function<void(const QString &)> &make) {
        return [this, make](const QString &path) {
            make(file(u"whole"_s));
            QByteArray whole = bytesOf(file(u"whole"_s));
            writeFile(path, whole.left(whole.size() * 2 / 3));
        };
    };
    QByteArray encryptedDocx("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    encryptedDocx.append(QByteArray(504, '\0'));
    for (const char c : QByteArrayView("EncryptedPackage"))
        encryptedDocx.append(c).append('\0');

    struct Case { const char *name; QString file; std::function<void(const QString &)> make; QString says; };
    const Case cases[] = {
        {"EmptyText", u"vide.txt"_s, bytes({}), u"est vide"_s},
        {"EmptyPdf", u"vide.pdf"_s, bytes({}), u"est vide"_s},
        {"EmptyDocx", u"vide.docx"_s, bytes({}), u"est vide"_s},
        {"BlankText", u"blancs.txt"_s, bytes(" \r\n\t\r\n"), u"aucun texte"_s},
        {"DocxWithEmptyParagraphs", u"rien.docx"_s,
         [](const QString &p) { fixtures::writeDocx(p, "<w:p/><w:p><w:r><w:t> </w:t></w:r></w:p>"); },
         u"aucun texte"_s},
        {"BinaryText", u"binaire.txt"_s, bytes(QByteArray("ab\0cd", 5)), u"pas un fichier de texte"_s},
        {"GarbageOdt", u"abîmé.odt"_s, bytes(garbage), u"endommagé"_s},
        {"TruncatedOdt", u"coupé.odt"_s,
         truncated([](const QString &p) { fixtures::writeOdt(p, "<text:p>Un texte assez long.</text:p>"); }),
         u"endommagé"_s},
        {"OdtWithoutContent", u"sans.odt"_s,
         [](const QString &p) { fixtures::writeZip(p, {{u"mimetype"_s, "application/vnd.oasis.opendocument.text"}}); },
         u"endommagé"_s},
        {"TruncatedDocx", u"coupé.docx"_s,
         truncated([](const QString &p) { fixtures::writeDocx(p, "<w:p><w:r><w:t>Un texte.</w:t></w:r></w:p>"); }),
         u"endommagé"_s},
        {"DocxOfBadXml", u"xml.docx"_s,
         [](const QString &p) { fixtures::writeDocx(p, "<w:p><w:r><w:t>non fermé</w:r></w:p>"); }, u"endommagé"_s},
        {"GarbagePdf", u"abîmé.pdf"_s, bytes("%PDF-1.4\nrien de plus"), u"endommagé"_s},
        {"TruncatedPdf", u"coupé.pdf"_s, truncated([](const QString &p) { fixtures::writePdf(p, Fable); }),
         u"endommagé"_s},
        {"EncryptedOdt", u"secret.odt"_s, fixtures::writeEncryptedOdt, u"mot de passe"_s},
        {"EncryptedDocx", u"secret.docx"_s, bytes(encryptedDocx), u"mot de passe"_s},
        {"ScannedPdf", u"scan.pdf"_s, fixtures::writePicturePdf, u"ce PDF ne contient que des images"_s},
        {"BlankPdf", u"blanc.pdf"_s, fixtures::writeBlankPdf, u"aucun texte"_s},
        {"HugeText", u"énorme.txt"_s, sparse(sources::MaxFileBytes + 1), u"trop gros (20,0 Mo)"_s},
        {"HugePdf", u"énorme.pdf"_s, sparse(sources::MaxFileBytes + 1), u"trop gros"_s},
        {"TooLongText", u"long.txt"_s, bytes(QByteArray("abc ").repeated(sources::MaxTextCharacters / 4) + 'd'),
         u"trop long"_s},
        // At the limit the file is read (or refused for what it holds, not its size).
        {"LargestFile", u"limite.pdf"_s, sparse(sources::MaxFileBytes), u"endommagé"_s},
        {"AesEncryptedDocx", u"aes.docx"_s, hostile::writeAesDocx, u"mot de passe"_s},
        {"PartLargerThanItsHeadersSay", u"menteur.docx"_s, hostile::writeUnderstatedDocx, u"trop long"_s},
        {"DocxWithoutItsDocument", u"corps.docx"_s,
         [](const QString &p) {
             fixtures::writeZip(p, {{u"word/document.xml"_s,
                                     "<w:body xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                                     "<w:p><w:r><w:t>Texte</w:t></w:r></w:p></w:body>"}});
         },
         u"endommagé"_s},
        {"TooLongOdt", u"long.odt"_s,
         [](const QString &p) {
             fixtures::writeOdt(p, "<text:p>" + QByteArray("abc ").repeated(sources::MaxTextCharacters / 4)
                                       + "</text:p><text:p>b</text:p>");
         },
         u"trop long"_s},
        {"TooLongDocx", u"long.docx"_s,
         [](const QString &p) {
             fixtures::writeDocx(p, "<w:p><w:r><w:t>" + QByteArray(sources::MaxTextCharacters, 'a') + "</w:t></w:r></w:p>"
                                    "<w:p><w:r><w:t>b</w:t></w:r></w:p>");
         },
         u"trop long"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(c.file);
        c.make(path);
        const Outcome outcome = read(path);
        EXPECT_FALSE(outcome.lines);
        EXPECT_TRUE(outcome.message.contains(c.says)) << outcome.message;
        EXPECT_TRUE(outcome.message.contains(u"« "_s + c.file + u" »"_s)) << outcome.message;
    }
}

// What is just within the limits, or slightly damaged, is read.
TEST_F(Sources, TextsAtTheLimitOrWithOneBadByteAreRead)
{
    const QByteArray words = QByteArray("abc ").repeated(sources::MaxTextCharacters / 4);
    struct Case { const char *name; QString file; QByteArray bytes; QStringList expected; };
    const Case cases[] = {
        {"TextOfTheLongestLength", u"limite.txt"_s, words, {QString::fromLatin1(words)}},
        {"WordOfTheLongestLength", u"mot.txt"_s, "Un " + QByteArray(sources::MaxWordCharacters, 'a') + " fin",
         {u"Un "_s + QString(sources::MaxWordCharacters, u'a') + u" fin"_s}},
        // A letter outside the basic plane is one character (two UTF-16 units).
        {"WordOfTheLongestLengthOutsideTheBasicPlane", u"maths.txt"_s,
         u"\U0001D49C"_s.repeated(sources::MaxWordCharacters).toUtf8(),
         {u"\U0001D49C"_s.repeated(sources::MaxWordCharacters)}},
        {"MarkedUtf8WithOneBadByte", u"abîmé.txt"_s, "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9 \xFF fin",
         {u"été \uFFFD fin"_s}},
        {"PageDeclaringUtf8WithOneBadByte", u"abîmé.html"_s,
         "<html><head><meta charset=\"utf-8\"></head><body><p>\xC3\xA9t\xC3\xA9 \xFF \xC3\xA0 la mer</p></body></html>",
         {u"été \uFFFD à la mer"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file(c.file), c.bytes);
        expectLines(file(c.file), c.expected);
    }
    // A Word document whose text and line end make the longest length.
    fixtures::writeDocx(file(u"limite.docx"_s), "<w:p><w:r><w:t>" + words.chopped(1) + "</w:t></w:r></w:p>");
    const Outcome outcome = read(file(u"limite.docx"_s));
    ASSERT_TRUE(outcome.lines) << outcome.message.toStdString();
    EXPECT_EQ(outcome.lines->value(0).size(), sources::MaxTextCharacters - 1);
}

TEST_F(Sources, EncryptedPdfIsToldByName)
{
    const QString qpdf = QStandardPaths::findExecutable(u"qpdf"_s);
    if (qpdf.isEmpty())
        GTEST_SKIP() << "qpdf is not installed";
    fixtures::writePdf(file(u"clair.pdf"_s), Fable);
    for (const auto &[name, password] : {std::pair{"secret.pdf", "motdepasse"}, std::pair{"copie.pdf", ""}}) {
        SCOPED_TRACE(name);
        const QString path = file(QString::fromLatin1(name));
        // The second one opens without a password, but forbids copying its text.
        ASSERT_EQ(QProcess::execute(qpdf, {u"--encrypt"_s, QString::fromLatin1(password), u"proprietaire"_s,
                                           u"256"_s, u"--extract=n"_s, u"--"_s, file(u"clair.pdf"_s), path}),
                  0);
        const Outcome outcome = read(path);
        EXPECT_FALSE(outcome.lines);
        EXPECT_TRUE(outcome.message.contains(u"« "_s + QString::fromLatin1(name) + u" »"_s)) << outcome.message;
        EXPECT_TRUE(outcome.message.contains(*password ? u"mot de passe"_s : u"interdit que l'on copie"_s))
            << outcome.message;
    }
}

TEST(SourceKinds, ChosenByTheExtensionInAnyCase)
{
    struct Case { const char *name; QString path; sources::SourceKind kind; };
    const bool office = !sources::officeConverter().isEmpty();
    const sources::SourceKind throughOffice = office ? sources::SourceKind::ThroughOffice : sources::SourceKind::Other;
    const Case cases[] = {
        {"Text", u"/a/conte.TXT"_s, sources::SourceKind::PlainText},
        {"OpenDocument", u"/a/Conte.odt"_s, sources::SourceKind::OpenDocument},
        {"Word", u"/a/conte.Docx"_s, sources::SourceKind::WordDocument},
        {"Pdf", u"/a/conte.pdf"_s, sources::SourceKind::Pdf},
        {"Html", u"/a/conte.html"_s, sources::SourceKind::Html},
        {"Htm", u"/a/conte.HTM"_s, sources::SourceKind::Html},
        {"Word97", u"/a/conte.doc"_s, throughOffice},
        {"RichText", u"/a/conte.rtf"_s, throughOffice},
        {"Picture", u"/a/conte.jpg"_s, sources::SourceKind::Other},
        {"NoExtension", u"/a/conte"_s, sources::SourceKind::Other},
        {"OnlyInTheFolder", u"/a.txt/conte"_s, sources::SourceKind::Other},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sources::sourceKind(c.path), c.kind);
    }
    EXPECT_EQ(sources::readSource(u"/nulle/part/image.jpg"_s), std::nullopt);
    // The import dialog lists the same kinds, every one, each group, then every file.
    EXPECT_EQ(sources::sourceFilter(),
              u"Textes et documents (*.txt *.odt *.docx *.doc *.rtf *.pdf *.html *.htm)|"
              u"*.txt;*.odt;*.docx;*.doc;*.rtf;*.pdf;*.html;*.htm|Textes (*.txt)|*.txt|"
              u"Documents OpenDocument (*.odt)|*.odt|Documents Word (*.docx *.doc)|*.docx;*.doc|"
              u"Textes enrichis (*.rtf)|*.rtf|Documents PDF (*.pdf)|*.pdf|Pages web (*.html *.htm)|*.html;*.htm|"
              u"Tous les fichiers (*)|*"_s);
}

// The quick look at rich text before it goes to the converter: what hidden
// groups hold is no text, and raw bytes (\bin) are skipped, within the file.
TEST(RichTextShape, CountsTheTextOutsideHiddenGroupsAndSkipsRawBytes)
{
    struct Case { const char *name; QByteArray rtf; sources::RichTextShape shape; };
    const Case cases[] = {
        {"TextAfterTheFontTable", "{\\rtf1{\\fonttbl{\\f0 Arial;}}Le loup}", {3, 7, false}},
        {"TextAfterAStarredGroup", "{\\rtf1{\\*\\generator W;}\\'e9t\\'e9}", {2, 3, false}},
        {"RawBytesSkipped", "{\\rtf1 \\bin3 {{{abc}", {1, 3, false}},
        {"RawBytesPastTheEnd", "{\\rtf1 \\bin99999999999 {{{{}}}}}", {1, 0, true}},
        {"RawBytesPastAnyNumber", "{\\rtf1 \\bin9223372036854775807 {}}", {1, 0, true}},
        {"RawBytesPastAnyNumberAtAll", "{\\rtf1 \\bin99999999999999999999999999 x}", {1, 0, true}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const sources::RichTextShape shape = sources::richTextShape(c.rtf);
        EXPECT_EQ(shape.depth, c.shape.depth);
        EXPECT_EQ(shape.text, c.shape.text);
        EXPECT_EQ(shape.cutShort, c.shape.cutShort);
    }
}

class ThroughOffice : public Sources
{
protected:
    void SetUp() override
    {
        if (sources::officeConverter().isEmpty())
            GTEST_SKIP() << "LibreOffice is not installed: .doc and .rtf are opened by the desktop";
    }
};

TEST_F(ThroughOffice, RichTextAndWord97BodyParagraphs)
{
    // Rich text as a word processor writes it, with a header and a footnote.
    const QString rtf = file(u"conte.rtf"_s);
    writeFile(rtf, "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}"
                   "{\\header \\pard En-t\\'eate\\par}"
                   "\\pard \\'ab\\~Le Loup et l\\rquote Agneau\\~\\'bb\\par "
                   "\\pard Un \\u339?uf\\'85 \\'e0 l\\rquote \\'e9t\\'e9\\~!"
                   "{\\super\\chftn}{\\footnote \\pard\\plain {\\super\\chftn} Une note.}\\par "
                   "\\pard Premier vers\\line second\\tab vers\\par}");
    const QStringList expected = {u"«\u00A0Le Loup et l’Agneau\u00A0»"_s, QString(), u"Un œuf… à l’été\u00A0!"_s,
                                  QString(), u"Premier vers"_s, u"second\tvers"_s};
    expectLines(rtf, expected);

    // A Word 97 document, written by the office suite from the rich text.
    QDir(file(u"doc"_s)).mkpath(u"."_s);
    ASSERT_EQ(QProcess::execute(sources::officeConverter(),
                                {u"--headless"_s, u"-env:UserInstallation=file://"_s + file(u"profil"_s),
                                 u"--convert-to"_s, u"doc"_s, u"--outdir"_s, file(u"doc"_s), rtf}),
              0);
    expectLines(file(u"doc/conte.doc"_s), expected);
}

TEST_F(ThroughOffice, AFileThatIsNotWhatItsNameSaysIsRefusedUnread)
{
    const QString rtf = file(u"faux.rtf"_s);
    writeFile(rtf, "Ceci n'est pas du texte enrichi.");
    const QString doc = file(u"abîmé.doc"_s);
    QByteArray damagedDoc("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    damagedDoc.append(QByteArray(600, '\x07'));
    for (const char c : QByteArrayView("WordDocument"))
        damagedDoc.append(c).append('\0');
    writeFile(doc, damagedDoc);
    for (const auto &[path, says] : {std::pair{rtf, u"endommagé"_s}, std::pair{doc, u"endommagé ou protégé"_s}}) {
        const Outcome outcome = read(path);
        EXPECT_FALSE(outcome.lines);
        EXPECT_TRUE(outcome.message.contains(says)) << outcome.message;
    }
}

} // namespace
