#pragma once

#include <QString>
#include <QStringList>

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

// Reads cheminW + "style.css" (Windows-1252). Raises workspace::IoError when it
// cannot be read.
Css loadCss(const QString &cheminW);

// Writes the 71 lines, then the lines past 71, in Windows-1252 with CR LF,
// beside the file and then in its place: a failure raises workspace::IoError
// and leaves the previous file whole.
void SauveCSS(const QString &cheminW, const Css &css);

} // namespace layout
