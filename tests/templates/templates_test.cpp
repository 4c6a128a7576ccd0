// The shipped templates: what the program and the reading aids rely on, and
// a reading document made of them as the web engine shows it.
#include "layout/stylesheet.h"
#include "testfiles.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

const QString Source = QStringLiteral(TESSAVO_SOURCE_DIR);

QString reserve(const QString &name)
{
    return Source + u"/reserve/"_s + name;
}

QStringList templateLines(const QString &name)
{
    return workspace::readLines(reserve(name));
}

QStringList trimmed(const QStringList &lines)
{
    QStringList result;
    for (const QString &line : lines)
        result.append(line.trimmed());
    return result;
}

bool matches(const QString &pattern, const QString &text)
{
    return QRegularExpression(u"^(?:"_s + pattern + u")$"_s).match(text).hasMatch();
}

TEST(StyleSheetTemplate, HoldsEverySettingOnItsLine)
{
    const QStringList css = templateLines(u"style.css"_s);
    ASSERT_LE(css.size(), 71);
    const auto line = [&css](int number) { return number <= css.size() ? css[number - 1] : QString(); };
    const QString comment = u"|/\\*.*\\*/"_s;
    EXPECT_TRUE(matches(uR"re(font-family: "(Arial|OpenDyslexic-Regular|HelveticaNeueLT Std Lt)","sans-serif";)re"_s, line(7)));
    EXPECT_TRUE(matches(u" font-size: -?\\d+%; "_s, line(21))) << line(21).toStdString();
    EXPECT_TRUE(matches(u" line-height: -?\\d+px; "_s, line(24)));
    EXPECT_TRUE(matches(u" word-spacing: -?\\d+px; "_s, line(25)));
    EXPECT_TRUE(matches(u"text-decoration: (underline|underline overline|none);"_s, line(27)));
    EXPECT_TRUE(matches(u"text-transform: (Uppercase|None);"_s, line(28)));
    EXPECT_TRUE(matches(u" letter-spacing: -?\\d+px;}"_s, line(29)));
    for (const int number : {47, 48, 55, 56, 57, 58})
        EXPECT_TRUE(matches(comment, line(number))) << "line " << number;
    for (const int number : {49, 50})
        EXPECT_TRUE(matches(u"\\d*"_s, line(number))) << "line " << number;
    const QString block = css.mid(19, 9).join(u'\n');
    EXPECT_FALSE(block.contains(u'}')) << "lines 21 to 28 stand in the rule that line 29 closes";
    EXPECT_TRUE(line(20).endsWith(u'{'));
}

// Lines 3 to 5 of the template before it named its font files: the faces of
// the system only.
const QStringList EarlierFontFaces = {
    uR"(@font-face { font-family: "OpenDyslexic-Regular"; src: local("OpenDyslexic-Regular"), local("OpenDyslexic Regular"), local("OpenDyslexic"); })"_s,
    uR"(@font-face { font-family: "HelveticaNeueLT Std Lt"; src: local("HelveticaNeueLT Std Lt"), local("Helvetica Neue"), local("Helvetica"), local("Nimbus Sans"), local("Liberation Sans"), local("Arial"), local("DejaVu Sans"); })"_s,
    uR"(@font-face { font-family: "sans-serif"; src: local("Arial"), local("Liberation Sans"), local("DejaVu Sans"); })"_s,
};

QStringList withLines(QStringList lines, const QMap<int, QString> &changed)
{
    while (lines.size() < layout::CssLineCount)
        lines.append(QString());
    for (auto it = changed.begin(); it != changed.end(); ++it)
        lines[it.key() - 1] = it.value();
    return lines;
}

// A teacher's own settings on numbered lines of a sheet.
const QMap<int, QString> OwnSettings = {{7, uR"(font-family: "Arial","sans-serif";)"_s},
                                        {21, u" font-size: 130%; "_s},
                                        {48, u"/*SYLLABE*/"_s},
                                        {50, u"353"_s}};

TEST(StyleSheetTemplate, NamesItsFontFilesWhichItShipsSmall)
{
    const QString faces = templateLines(u"style.css"_s).mid(2, 3).join(u'\n');
    ASSERT_EQ(layout::publishedFontFiles().size(), 2);
    for (const QString &file : layout::publishedFontFiles()) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_TRUE(faces.contains(u"url(\""_s + file + u"\") format(\"woff2\")"_s));
        const QByteArray bytes = bytesOf(reserve(file));
        EXPECT_TRUE(bytes.startsWith("wOF2"));
        EXPECT_LT(bytes.size(), 200 * 1024) << "sent with every student's texts";
    }
    // Each face the font lines declare takes the published file first.
    for (const QString &line : templateLines(u"style.css"_s).mid(2, 3))
        EXPECT_EQ(line.count(u"@font-face"_s), line.count(u"src: url(\""_s)) << line.toStdString();
}

// An earlier student sheet gets the font lines of the template and keeps
// every other line, its numbered settings first: the template changed on its
// font lines only.
TEST(StyleSheetTemplate, AnEarlierSheetGetsTheFontLinesAndKeepsEveryOther)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QStringList current = templateLines(u"style.css"_s);
    workspace::writeLines(folder + u"style.css"_s,
                          withLines(current, OwnSettings).mid(0, 2) + EarlierFontFaces
                              + withLines(current, OwnSettings).mid(5));
    EXPECT_EQ(layout::withPublishedFonts(layout::loadCss(folder)).numbered(), withLines(current, OwnSettings));

    // A font line the teacher wrote stays as written.
    layout::Css own = layout::loadCss(folder);
    own[3] = uR"(@font-face { font-family: "OpenDyslexic-Regular"; src: local("OpenDyslexic"); })"_s;
    EXPECT_EQ(layout::withPublishedFonts(own)[3], own[3]);
    EXPECT_EQ(layout::withPublishedFonts(own)[4], current[3]);
}

// Saving the sheet puts the font files it names beside it, from the template
// folder of the working folder; the files are what the tablet is sent.
TEST(StyleSheetTemplate, SavingTheSheetPutsTheFontsItNamesBesideIt)
{
    QTemporaryDir work;
    QDir().mkpath(work.path() + u"/reserve"_s);
    for (const QString &file : layout::publishedFontFiles())
        ASSERT_TRUE(QFile::copy(reserve(file), work.path() + u"/reserve/"_s + file));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
    const auto student = [&](const QString &name) {
        const QString folder = work.path() + u'/' + name + u'/';
        QDir().mkpath(folder);
        return folder;
    };
    const QStringList current = templateLines(u"style.css"_s);

    // An earlier sheet: upgraded, and the files come beside it.
    const QString earlier = student(u"Martin_Lea_"_s);
    workspace::writeLines(earlier + u"style.css"_s, current.mid(0, 2) + EarlierFontFaces + current.mid(5));
    layout::SauveCSS(earlier, layout::loadCss(earlier));
    EXPECT_EQ(workspace::readLines(earlier + u"style.css"_s), withLines(current, {}));
    for (const QString &file : layout::publishedFontFiles())
        EXPECT_EQ(bytesOf(earlier + file), bytesOf(reserve(file))) << file.toStdString();

    // A file already there stays as it is.
    const QString own = earlier + layout::publishedFontFiles().first();
    writeFile(own, "MIENNE");
    layout::SauveCSS(earlier, layout::loadCss(earlier));
    EXPECT_EQ(bytesOf(own), "MIENNE");

    // A sheet whose font lines name no file gets none; nor does a template
    // folder without them make the save fail.
    const QString system = student(u"Durand_Paul_"_s);
    workspace::writeLines(system + u"style.css"_s,
                          current.mid(0, 2) + QStringList{u"/* polices du systeme */"_s, QString(), QString()}
                              + current.mid(5));
    layout::SauveCSS(system, layout::loadCss(system));
    EXPECT_EQ(QDir(system).entryList(QDir::Files), QStringList{u"style.css"_s});
    QDir(work.path() + u"/reserve"_s).removeRecursively();
    const QString bare = student(u"Petit_Jean_"_s);
    workspace::writeLines(bare + u"style.css"_s, current);
    EXPECT_NO_THROW(layout::SauveCSS(bare, layout::loadCss(bare)));
    EXPECT_EQ(QDir(bare).entryList(QDir::Files), QStringList{u"style.css"_s});
}

TEST(DocumentTemplates, CarryTheMarkersAndTheBorderCells)
{
    const QStringList head = templateLines(u"entete.html"_s);
    const QStringList headTrimmed = trimmed(head);
    EXPECT_EQ(headTrimmed.last(), u"<!--DEBUT-->"_s);
    EXPECT_EQ(headTrimmed.count(u"<!--DEBUT-->"_s), 1);
    EXPECT_TRUE(head.join(u'\n').contains(u"charset=windows-1252"_s));
    EXPECT_TRUE(head.join(u'\n').contains(u"href=\"style.css\""_s));
    EXPECT_EQ(head.filter(u"<span style=\"background-color:"_s).size(), 1);
    EXPECT_TRUE(headTrimmed.contains(u"<!--BORD 1--><TD width=30 BGCOLOR=\"#00FF00\">----</TD>"_s));
    EXPECT_TRUE(headTrimmed.contains(u"<!--BORD 2--><TD width=30 background=\"fond.jpg\"></TD>"_s));

    const QStringList tailTrimmed = trimmed(templateLines(u"FinFichier.html"_s));
    EXPECT_EQ(tailTrimmed.count(u"<!--FIN-->"_s), 1);
    EXPECT_TRUE(tailTrimmed.contains(u"<!--BORD 3--><TD width=30 background=\"fond.jpg\"></TD>"_s));
    EXPECT_TRUE(tailTrimmed.contains(u"<!--BORD 4--><TD width=30 BGCOLOR=\"#FF0000\">----</TD>"_s));
    EXPECT_EQ(tailTrimmed.last(), u"</html>"_s);
}

TEST(IndexTemplates, DeclareTheCodePageOfTheLinkLines)
{
    EXPECT_TRUE(templateLines(u"Indexdeb.txt"_s).join(u'\n').contains(u"charset=windows-1252"_s));
    EXPECT_EQ(templateLines(u"Indexfin.txt"_s).last(), u"</html>"_s);
}

TEST(Pictures, AreRealAndTheLogosAllDiffer)
{
    const QImage background(reserve(u"fond.jpg"_s));
    EXPECT_FALSE(background.isNull());
    const QDir cards(reserve(u"Cartes"_s));
    const QStringList names = cards.entryList({u"*.jpg"_s}, QDir::Files);
    EXPECT_GE(names.size(), 12);
    QSet<QByteArray> contents;
    for (const QString &name : names) {
        EXPECT_FALSE(QImage(cards.filePath(name)).isNull()) << name.toStdString();
        contents.insert(bytesOf(cards.filePath(name)));
    }
    EXPECT_EQ(contents.size(), names.size());
}

// A reading document made of the templates, shown by the real web engine.
class ReadingPage : public testing::Test
{
protected:
    void SetUp() override
    {
        const QString folder = m_folder.path() + u'/';
        for (const QString &name : {u"style.css"_s, u"entete.html"_s, u"FinFichier.html"_s})
            workspace::copyTextLines(reserve(name), folder + name);
        workspace::copyBytes(reserve(u"fond.jpg"_s), folder + u"fond.jpg"_s);
        workspace::copyBytes(reserve(u"Cartes/chat.jpg"_s), folder + u"conte.jpg"_s);
        QStringList document = workspace::readLines(folder + u"entete.html"_s);
        document << u"<img src=\"conte.jpg\"  width=\"70\" height= \"70\">"_s
                 << u"Le petit chat boit du lait.<br>"_s << u"Il est très content.<br>"_s;
        document << workspace::readLines(folder + u"FinFichier.html"_s);
        m_document = folder + u"conte.html"_s;
        workspace::writeLines(m_document, document);
        m_view.resize(1366, 600);
        m_view.show();
    }

    void setStyleLines(const QMap<int, QString> &lines)
    {
        const QString path = m_folder.path() + u"/style.css"_s;
        QStringList css = workspace::readLines(path);
        for (auto it = lines.begin(); it != lines.end(); ++it)
            css[it.key() - 1] = it.value();
        workspace::writeLines(path, css);
    }

    bool load(const QString &path)
    {
        QEventLoop loop;
        bool ok = false;
        QObject::connect(&m_view, &QWebEngineView::loadFinished, &loop, [&](bool finished) {
            ok = finished;
            loop.quit();
        });
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        m_view.setUrl(QUrl::fromLocalFile(path));
        loop.exec();
        return ok;
    }

    bool loadDocument() { return load(m_document); }

    QVariant evaluate(const QString &script)
    {
        QEventLoop loop;
        QVariant result;
        m_view.page()->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            loop.quit();
        });
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        loop.exec();
        return result;
    }

    // Polls a condition of the page, for what loads after the page itself.
    bool eventually(const QString &condition)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (evaluate(condition).toBool())
                return true;
            QEventLoop pause;
            QTimer::singleShot(50, &pause, &QEventLoop::quit);
            pause.exec();
        }
        return false;
    }

    QString computed(const QString &selector, const QString &property)
    {
        return evaluate(u"getComputedStyle(document.querySelector('%1')).getPropertyValue('%2')"_s.arg(selector, property))
            .toString();
    }

    QTemporaryDir m_folder;
    QString m_document;
    QWebEngineView m_view;
};

TEST_F(ReadingPage, ShowsTheLogoTheTextAndTheFourBorderCells)
{
    ASSERT_TRUE(loadDocument());
    EXPECT_TRUE(eventually(u"document.images[0].complete && document.images[0].naturalWidth > 0"_s));
    const QString text = evaluate(u"document.body.innerText"_s).toString();
    EXPECT_TRUE(text.contains(u"Le petit chat boit du lait."_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Il est très content."_s)) << text.toStdString();

    EXPECT_EQ(evaluate(u"document.querySelectorAll('td[width=\"30\"]').length"_s).toInt(), 4);
    EXPECT_TRUE(evaluate(u"[...document.querySelectorAll('td[width=\"30\"]')].every(td => td.offsetWidth >= 30 && td.offsetHeight > 40)"_s)
                    .toBool());
    EXPECT_EQ(computed(u"td[bgcolor=\"#00FF00\"]"_s, u"background-color"_s), u"rgb(0, 255, 0)"_s);
    EXPECT_EQ(computed(u"td[bgcolor=\"#FF0000\"]"_s, u"background-color"_s), u"rgb(255, 0, 0)"_s);
    EXPECT_TRUE(computed(u"td[background]"_s, u"background-image"_s).contains(u"fond.jpg"_s));
    evaluate(u"window.fond = new Image(); window.fond.src = 'fond.jpg'; 0"_s);
    EXPECT_TRUE(eventually(u"window.fond.complete && window.fond.naturalWidth == 30"_s));
}

TEST_F(ReadingPage, TheStyleSheetAppliesWithTheDyslexiaFont)
{
    ASSERT_TRUE(loadDocument());
    EXPECT_EQ(computed(u"td.texte"_s, u"font-size"_s), u"24px"_s);
    EXPECT_EQ(computed(u"td.texte"_s, u"line-height"_s), u"45px"_s);
    EXPECT_EQ(computed(u"td.texte"_s, u"word-spacing"_s), u"10px"_s);
    EXPECT_EQ(computed(u"td.texte"_s, u"font-family"_s).toStdString(), "OpenDyslexic-Regular, \"sans-serif\"");
    // The face of line 7 is found: the text is wider than in the fallback face.
    const QString width = u"(() => { const s = document.createElement('span'); s.style.fontFamily = '%1';"
                          u" s.style.fontSize = '40px'; s.textContent = 'Le petit chat boit du lait';"
                          u" document.body.appendChild(s); const w = s.getBoundingClientRect().width; s.remove(); return w; })()"_s;
    EXPECT_TRUE(eventually(u"document.fonts.status == 'loaded'"_s));
    const double dyslexia = evaluate(width.arg(u"\"OpenDyslexic-Regular\", \"sans-serif\""_s)).toDouble();
    const double fallback = evaluate(width.arg(u"\"sans-serif\""_s)).toDouble();
    EXPECT_GT(dyslexia, fallback * 1.05) << dyslexia << " against " << fallback;
}

// Where the accent of "é" stands on the letter, drawn at 200 px in a face:
// the gap from the top of "e" to the accent's foot, and how far the accent's
// middle stands right of the letter's, in pixels.
const QString AccentScript = uR"(
(() => {
  const ink = (text) => {
    const c = document.createElement('canvas');
    c.width = 400; c.height = 400;
    const g = c.getContext('2d');
    g.font = '200px "%1"';
    g.fillText(text, 100, 300);
    const d = g.getImageData(0, 0, 400, 400).data;
    const rows = [];
    for (let y = 0; y < 400; ++y) {
      let left = 400, right = -1;
      for (let x = 0; x < 400; ++x)
        if (d[(y * 400 + x) * 4 + 3] > 128) { left = Math.min(left, x); right = Math.max(right, x); }
      rows.push(right < 0 ? null : [left, right]);
    }
    return rows;
  };
  const e = ink('e'), accented = ink('\u00e9');
  const eTop = e.findIndex(r => r);
  let left = 400, right = -1, foot = -1;
  for (let y = 0; y < eTop; ++y)
    if (accented[y]) { left = Math.min(left, accented[y][0]); right = Math.max(right, accented[y][1]); foot = y; }
  let eLeft = 400, eRight = -1;
  e.forEach(r => { if (r) { eLeft = Math.min(eLeft, r[0]); eRight = Math.max(eRight, r[1]); } });
  return JSON.stringify({gap: eTop - foot, offset: (left + right) / 2 - (eLeft + eRight) / 2, found: right >= 0});
})()
)"_s;

// The document shows its text in the font files published beside the style
// sheet: the accents of OpenDyslexic over their letters, where the font of
// the system (Debian's) sets them high and to the right, "e´".
TEST_F(ReadingPage, TheTextShowsInThePublishedFonts)
{
    const auto accent = [this] {
        EXPECT_TRUE(eventually(u"document.fonts.load('200px \"OpenDyslexic-Regular\"', '\u00e9').then(f => window.faces = f.length), window.faces > 0"_s));
        return QJsonDocument::fromJson(evaluate(AccentScript.arg(u"OpenDyslexic-Regular"_s)).toString().toUtf8()).object();
    };
    // Without the files the system's face shows: the fault they mend.
    if (QFile::exists(u"/usr/share/fonts/opentype/opendyslexic/OpenDyslexic-Regular.otf"_s)) {
        ASSERT_TRUE(loadDocument());
        const QJsonObject system = accent();
        ASSERT_TRUE(system[u"found"_s].toBool());
        EXPECT_GT(system[u"offset"_s].toDouble(), 12);
        EXPECT_GT(system[u"gap"_s].toDouble(), 30);
    }

    // The same document in a folder that has them (another one: the engine
    // keeps what it loaded).
    const QString published = m_folder.path() + u"/publie/"_s;
    QDir().mkpath(published);
    for (const QString &name : QDir(m_folder.path()).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(m_folder.path() + u'/' + name, published + name));
    for (const QString &file : layout::publishedFontFiles())
        ASSERT_TRUE(QFile::copy(reserve(file), published + file));
    ASSERT_TRUE(load(published + u"conte.html"_s));
    const QJsonObject mended = accent();
    ASSERT_TRUE(mended[u"found"_s].toBool());
    EXPECT_LT(std::abs(mended[u"offset"_s].toDouble()), 6) << "the acute over the middle of the e";
    EXPECT_LT(mended[u"gap"_s].toDouble(), 16) << "the acute close over the e";

    // A page that names only the published file finds it, and it is the
    // face of "Arial".
    evaluate(uR"(const s = document.createElement('style');
                 s.textContent = '@font-face { font-family: "Seulement"; src: url("LiberationSans-Regular.woff2"); }';
                 document.head.appendChild(s); 0)"_s);
    EXPECT_TRUE(eventually(u"Promise.all([document.fonts.load('40px Seulement'), document.fonts.load('40px Arial')])"
                           u".then(f => window.liberation = f[0].length * f[1].length), window.liberation > 0"_s));
    const QString width = u"(() => { const s = document.createElement('span'); s.style.font = '40px %1';"
                          u" s.textContent = 'Le petit chat boit du lait'; document.body.appendChild(s);"
                          u" const w = s.getBoundingClientRect().width; s.remove(); return w; })()"_s;
    const double liberation = evaluate(width.arg(u"Seulement"_s)).toDouble();
    EXPECT_EQ(evaluate(width.arg(u"Arial"_s)).toDouble(), liberation);
    EXPECT_NE(evaluate(width.arg(u"monospace"_s)).toDouble(), liberation);
}

TEST_F(ReadingPage, NumbersInTheViewSizeLinesCostNoRule)
{
    setStyleLines({{49, u"1366"_s}, {50, u"353"_s}, {21, u" font-size: 150%; "_s}, {28, u"text-transform: Uppercase;"_s}});
    ASSERT_TRUE(loadDocument());
    EXPECT_EQ(computed(u"td.texte img"_s, u"vertical-align"_s), u"middle"_s);
    EXPECT_EQ(computed(u"td.texte"_s, u"font-size"_s), u"36px"_s);
    EXPECT_EQ(computed(u"td.texte"_s, u"text-transform"_s), u"uppercase"_s);

    // Without the empty rule of line 51 the numbers would take the next rule with them.
    setStyleLines({{51, QString()}});
    ASSERT_TRUE(loadDocument());
    EXPECT_NE(computed(u"td.texte img"_s, u"vertical-align"_s), u"middle"_s);
}

TEST_F(ReadingPage, ThePleaseWaitPageShows)
{
    ASSERT_TRUE(load(Source + u"/travaux.html"_s));
    EXPECT_TRUE(evaluate(u"document.body.innerText"_s).toString().contains(u"Travail en cours"_s));
}

} // namespace

