// The style sheet's reading rules on any style.css: the lines are read as
// loadCss reads them; each numeric rule gives a number or a ConversionError
// naming its line, never anything else; the underline boxes follow their
// rule; the layout screen opens inside the display or names the line it
// cannot read; saving gives back the lines read.

#include "fuzzcheck.h"

#include "layout/opening.h"
#include "layout/stylesheet.h"
#include "workspace/textfile.h"

namespace {

using namespace fuzzing;

template<typename Read>
void readOrRefuse(int k, Read read)
{
    try {
        read();
    } catch (const layout::ConversionError &error) {
        expect("the failure names its line", error.lineNumber() == k);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList lines = workspace::decodeLines(QByteArrayView(data, qsizetype(size)));
    // As loadCss fills it from the file.
    layout::Css css;
    for (int k = 1; k <= layout::CssLineCount && k <= lines.size(); ++k)
        css[k] = lines[k - 1];
    if (lines.size() > layout::CssLineCount)
        css.setBeyond(lines.mid(layout::CssLineCount));

    const QString path = QStringLiteral("style.css");
    readOrRefuse(layout::line::FontSize, [&] { layout::readFontSize(css, path); });
    readOrRefuse(layout::line::LineHeight, [&] { layout::readLineHeight(css, path); });
    readOrRefuse(layout::line::WordSpacing, [&] { layout::readWordSpacing(css, path); });
    for (const int k : {layout::line::ViewWidth, layout::line::ViewHeight})
        readOrRefuse(k, [&] { layout::readViewSize(css, k, path); });

    const QString &underline = css[layout::line::Underline];
    const layout::UnderlineBoxes boxes = layout::readUnderline(css);
    expect("none clears both boxes", !underline.contains(u"none") || (!boxes.surligne && !boxes.souligne));
    expect("underline checks its box", underline.contains(u"none") || boxes.souligne == underline.contains(u"underline"));

    for (const QSize display : {QSize(1366, 1024), QSize(1024, 768)}) {
        layout::Opening opened;
        try {
            opened = layout::openingOf(css, display, path);
        } catch (const layout::ConversionError &failure) {
            const int k = failure.lineNumber();
            expect("the failure names a numeric line", k == layout::line::FontSize || k == layout::line::LineHeight
                                                           || k == layout::line::WordSpacing
                                                           || k == layout::line::ViewWidth
                                                           || k == layout::line::ViewHeight);
            continue;
        }
        expect("the web view opens inside the display",
               opened.view.width() >= 0 && opened.view.width() <= display.width() && opened.view.height() >= 0
                   && opened.view.height() <= display.height());
        expect("the web view opens at most 850 high", opened.view.height() <= layout::HeightLimit);
        expectEqual("the width label shows line 49", opened.widthLabel, opened.css[layout::line::ViewWidth]);
        expectEqual("the height label shows line 50", opened.heightLabel, opened.css[layout::line::ViewHeight]);
    }

    // What SauveCSS writes, read again: the lines of the file, the missing
    // ones of the 71 as empty lines.
    const QStringList saved = workspace::decodeLines(workspace::encodeLines(css.numbered() + css.beyond()));
    QStringList expected = lines;
    while (expected.size() < layout::CssLineCount)
        expected.append(QString());
    expect("saving keeps every line", saved == expected);
    return 0;
}
