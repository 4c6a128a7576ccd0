#pragma once

#include "workspace/failure.h"

#include <QString>
#include <QStringList>

#include <optional>

// The student's style sheet, held as numbered lines. The program never parses
// it as CSS: every line it uses has a fixed number, every other line passes
// through unchanged.
namespace layout {

inline constexpr int CssLineCount = 71;

// Lines 1 to 71 of style.css, and whatever the teacher added past line 71,
// which every save keeps unchanged.
class Css
{
public:
    Css();
    // Line k, 1 <= k <= 71. A line the file did not have is empty.
    QString &operator[](int k);
    const QString &operator[](int k) const;

    QStringList numbered() const;            // always 71 lines
    const QStringList &beyond() const { return m_beyond; }
    void setBeyond(QStringList lines) { m_beyond = std::move(lines); }

private:
    QStringList m_lines;  // m_lines[k - 1] is line k
    QStringList m_beyond; // lines 72 and on, as read
};

// The fixed line numbers.
namespace line {
inline constexpr int FontFamily = 7;
inline constexpr int FontSize = 21;
inline constexpr int LineHeight = 24;
inline constexpr int WordSpacing = 25;
inline constexpr int Underline = 27;
inline constexpr int Capitals = 28;
inline constexpr int LetterSpacing = 29;
inline constexpr int AidFirstSlot = 47;
inline constexpr int AidSecondSlot = 48;
inline constexpr int ViewWidth = 49;
inline constexpr int ViewHeight = 50;
inline constexpr int End = 55;
inline constexpr int BorderGreenRed = 56;
inline constexpr int BorderMulticolor = 57;
inline constexpr int BoxesOn = 58;
} // namespace line

// The flag texts of lines 47, 48, 55 to 58, compared whole, exact and
// case-sensitive on trimmed lines.
namespace flag {
inline const QString Tiret = QStringLiteral("/*TIRET*/");
inline const QString Muet = QStringLiteral("/*MUET*/");
inline const QString Syllabe = QStringLiteral("/*SYLLABE*/");
inline const QString Phrase = QStringLiteral("/*PHRASE*/");
inline const QString Phoneme = QStringLiteral("/*PHONEME*/");
inline const QString Fin = QStringLiteral("/*FIN*/");
inline const QString BordVertRouge = QStringLiteral("/*Bord  vert/rouge*/");
inline const QString BordMulticolor = QStringLiteral("/*Bord multicolor*/");
inline const QString SyllabesCouleurs = QStringLiteral("/*Syllabes couleurs*/");
inline const QString PhrasesCouleurs = QStringLiteral("/*Phrases couleurs*/");
inline const QString SyllabesTirets = QStringLiteral("/*Syllabes tirets*/");
} // namespace flag

// True when the line, trimmed of characters of code 32 or less, is the flag.
bool hasFlag(const Css &css, int k, const QString &flagText);

// A numeric line of the style sheet that does not give its number. The text
// names the file and the line.
class ConversionError : public workspace::Failure
{
public:
    ConversionError(const QString &path, int k, const QString &lineText);
    int lineNumber() const { return m_line; }

private:
    int m_line;
};

// The reading rules of the numeric lines. `path` only serves the failure's
// text. Lines 21, 24 and 25: the text from position 12, 14 or 15 up to the
// first "%" or "px", a decimal integer after leading blanks, nothing else.
int readFontSize(const Css &css, const QString &path);    // line 21
int readLineHeight(const Css &css, const QString &path);  // line 24
int readWordSpacing(const Css &css, const QString &path); // line 25
// Line 29, " letter-spacing: " n "px;}": the text from position 18 up to the
// first "px", read the same way; nothing when it gives no integer.
std::optional<int> readLetterSpacing(const Css &css);
// Lines 49 and 50: empty gives nothing; otherwise the whole text (blanks
// around it aside) as a number in the user's locale, from 0 to MaxViewSize
// pixels ("nan", "inf", "-5" and "1e12" fail).
std::optional<double> readViewSize(const Css &css, int k, const QString &path);
inline constexpr double MaxViewSize = 16777215; // the largest size of a window

// Line 27 read into the two underline boxes: "none" anywhere clears both;
// otherwise the overline box is checked when the line holds "overline", the
// underline box when it holds "underline".
struct UnderlineBoxes
{
    bool surligne = false;
    bool souligne = false;
    bool operator==(const UnderlineBoxes &) const = default;
};
UnderlineBoxes readUnderline(const Css &css);

// Reads cheminW + "style.css" (Windows-1252). Raises workspace::IoError when it
// cannot be read.
Css loadCss(const QString &cheminW);

// Writes the 71 lines, then the lines past 71, in Windows-1252 with CR LF,
// beside the file and then in its place: a failure raises workspace::IoError
// and leaves the previous file whole. The @font-face lines of an earlier
// template are written as the current template has them (withPublishedFonts),
// and the font files the sheet names are then put beside it from the template
// folder of the working folder (placeFonts).
void SauveCSS(const QString &cheminW, const Css &css);

// The font files that the template style sheet names in its @font-face rules
// (lines 3 to 5), by url() before the faces of the system: lying beside
// style.css, they are published with it, so that a tablet without the faces
// shows the one the teacher chose, and the program's view shows the same.
const QStringList &publishedFontFiles();

// The style sheet with lines 3 to 5, the @font-face rules, as the current
// template has them when they hold exactly the rules of the earlier template
// (faces of the system only). Every other line, the numbered ones first, is
// left as it is.
Css withPublishedFonts(Css css);

// Copies from the template folder into the student folder each font file of
// publishedFontFiles() that the style sheet names and the student folder
// lacks. A file that the template folder lacks or that cannot be copied is
// left out: the page then shows the face of the system, as before.
void placeFonts(const QString &cheminW, const QString &templateFolder, const QStringList &styleLines);

} // namespace layout
