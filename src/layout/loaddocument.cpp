#include "loaddocument.h"

#include "layout/opening.h"
#include "workspace/textfile.h"

using namespace Qt::StringLiterals;

namespace layout {

void loadDocument(const QString &path, const Css &css, const std::function<void(const QStringList &)> &show)
{
    const QStringList lines = workspace::readLines(path);
    show(lines);
    workspace::writeLines(path, lines);
    if (gardeCopie(css, lines))
        workspace::writeLines(path + u".bak"_s, lines);
}

} // namespace layout
