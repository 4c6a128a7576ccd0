#pragma once

#include <QStringView>

#include <array>

// The colour texts shared by the syllables and the sentences in colours: a
// run opens in red, each switch closes the current colour and opens the next.
namespace readingaids {

inline constexpr QStringView opening = u"<FONT color=\"red\">";
inline constexpr QStringView closing = u"</FONT>";
// A run that opens in green (the syllables in colours in a row).
inline constexpr QStringView openingGreen = u"<FONT color=\"green\">";
inline constexpr QStringView couleur1 = u"</FONT><FONT color=\"green\">";
inline constexpr QStringView couleur2 = u"</FONT><FONT color=\"blue\">";
inline constexpr QStringView couleur3 = u"</FONT><FONT color=\"black\">";
inline constexpr QStringView couleur4 = u"</FONT><FONT color=\"orange\">";
inline constexpr QStringView couleur5 = u"</FONT><FONT color=\"red\">";

// The switch before run number k + 1 (run 0 is opened in red).
inline QStringView colourSwitch(qsizetype k)
{
    static constexpr std::array<QStringView, 5> switches = {couleur1, couleur2, couleur3, couleur4, couleur5};
    return switches[k % 5];
}

} // namespace readingaids
