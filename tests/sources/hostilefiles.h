#pragma once

#include <QByteArray>
#include <QString>

// Small files made to exhaust a reader: each is written by these functions,
// never fetched, and holds what a careless reader would expand, repeat or
// draw past any reasonable time and memory.
namespace hostile {

// An OpenDocument text whose one paragraph uses an entity of some 4,000
// characters this many times.
void writeEntityOdt(const QString &path, int uses);

// An OpenDocument text whose one paragraph is this many <text:s text:c="1000"/>.
void writeSpacesOdt(const QString &path, int elements);

// An OpenDocument text whose one paragraph is one run of text of this many
// bytes, words of five letters.
void writeLongRunOdt(const QString &path, qsizetype bytes);

// A Word document whose one paragraph is this many tabs.
void writeTabsDocx(const QString &path, int tabs);

// A PDF written by hand (no writer draws so much so quickly): pages that all
// show the same content stream, compressed, on an A4 page.
QByteArray pdf(int pages, const QByteArray &content);
// A content stream of this many strokes, drawn white.
QByteArray strokes(int count);
// A content stream of one line of text.
QByteArray oneLineOfText();

// Rich text of groups nested this deep.
QByteArray nestedRtf(int depth);
// Rich text holding about this many bytes of plain words.
QByteArray wordyRtf(qsizetype bytes);

} // namespace hostile

namespace hostile {

// A Word document whose main part is encrypted with AES, as archivers do.
void writeAesDocx(const QString &path);

} // namespace hostile

namespace hostile {

// A Word document whose main part, once unpacked, is larger than the
// readers take, while its headers say it holds 1,000 bytes.
void writeUnderstatedDocx(const QString &path);

} // namespace hostile
