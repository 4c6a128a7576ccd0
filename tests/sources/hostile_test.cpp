// Files made to exhaust a reader: each is refused within a bounded work (the
// memory held, the bytes read), with a French message naming it.
#include "hostilefiles.h"
#include "sourcefixtures.h"
#include "sources/office.h"
#include "sources/refusals.h"
#include "sources/sources.h"
#include "sources/ziparchive.h"
#include "testfiles.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

#include <malloc.h>

using namespace Qt::StringLiterals;

// GCC says so with a macro, clang with a feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSAVO_UNDER_ASAN
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TESSAVO_UNDER_ASAN)
constexpr bool UnderAddressSanitizer = true;
#else
constexpr bool UnderAddressSanitizer = false;
#endif

namespace {

// A field of one of the process's own /proc files ("VmHWM:" of status),
// as a number; -1 when it cannot be read.
qint64 procField(const QString &file, QByteArrayView field)
{
    QFile status(u"/proc/self/"_s + file);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The work the process did since the meter was made: the most memory it
// held over what it held then (MiB), and the bytes it read (from files,
// pipes and all).
class WorkMeter
{
public:
    WorkMeter()
    {
        // The memory freed goes back to the system, and the peak becomes
        // the memory held now.
        malloc_trim(0);
        QFile refs(u"/proc/self/clear_refs"_s);
        if (refs.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            refs.write("5");
        refs.close();
        m_held = procField(u"status"_s, "VmHWM:");
        m_read = procField(u"io"_s, "rchar:");
    }
    qint64 peakMiB() const { return (procField(u"status"_s, "VmHWM:") - m_held) / 1024; }
    qint64 bytesRead() const { return procField(u"io"_s, "rchar:") - m_read; }

private:
    qint64 m_held = 0;
    qint64 m_read = 0;
};

// A converter that never finishes: the office suite on a file it chokes on,
// with a worker process of its own, as the suite's launcher starts one.
QString hangingConverter(const QTemporaryDir &dir)
{
    const QString script = dir.filePath(u"soffice-bloque"_s);
    writeFile(script, "#!/bin/sh\necho $$ > \"$0.pid\"\nsleep 600 &\necho $! > \"$0.worker\"\nwait\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    return script;
}

bool processAlive(const QString &pidFile)
{
    // A process ended but not yet reaped by its parent (a zombie) counts as ended.
    const QByteArray pid = bytesOf(pidFile).trimmed();
    if (pid.isEmpty() || pid.startsWith('<'))
        return false;
    const QByteArray stat = bytesOf(u"/proc/"_s + QString::fromLatin1(pid) + u"/stat"_s);
    const qsizetype state = stat.lastIndexOf(')') + 2;
    return !stat.startsWith('<') && state < stat.size() && stat[state] != 'Z';
}

// Whether the process is still there a while after it was sent its end: a
// killed process takes a moment to exit on a busy machine (the wait ends as
// soon as it is gone).
bool stillAliveAfterAWhile(const QString &pidFile)
{
    QElapsedTimer clock;
    clock.start();
    while (processAlive(pidFile) && clock.elapsed() < 10'000)
        QThread::msleep(10);
    return processAlive(pidFile);
}

TEST(HostileFiles, RefusedWithinBoundedWork)
{
    QTemporaryDir dir;
    const QString converter = hangingConverter(dir);
    using Make = std::function<void(const QString &)>;
    const auto bytes = [](QByteArray content) { return Make([content](const QString &p) { writeFile(p, content); }); };
    struct Case { const char *name; QString file; Make make; QString says; };
    const Case cases[] = {
        {"EntityUsed200000Times", u"entité.odt"_s, [](const QString &p) { hostile::writeEntityOdt(p, 200'000); },
         u"endommagé"_s},
        {"ThousandBlanksAMillionTimes", u"blancs.odt"_s,
         [](const QString &p) { hostile::writeSpacesOdt(p, 1'000'000); }, u"trop long"_s},
        {"OneRunOf120MB", u"long.odt"_s, [](const QString &p) { hostile::writeLongRunOdt(p, 120'000'000); },
         u"trop long"_s},
        {"ARunOf20MBInANote", u"note.odt"_s,
         [](const QString &p) {
             fixtures::writeOdt(p, "<text:p>Le loup.<text:note><text:note-body><text:p>"
                                       + QByteArray("loup ").repeated(4'000'000)
                                       + "</text:p></text:note-body></text:note></text:p>");
         },
         u"trop long"_s},
        {"FourteenMillionTabs", u"tabulations.docx"_s, [](const QString &p) { hostile::writeTabsDocx(p, 14'000'000); },
         u"trop long"_s},
        {"AMegabyteOfAmpersands", u"esperluettes.html"_s, bytes(QByteArray(1'000'000, '&')), u"un de ses mots"_s},
        {"BlankPages", u"blanc.pdf"_s, bytes(hostile::pdf(120'000, "")), u"trop de pages"_s},
        {"TextPages", u"pages.pdf"_s, bytes(hostile::pdf(100'000, hostile::oneLineOfText())), u"trop de pages"_s},
        {"PagesOfStrokes", u"traits.pdf"_s, bytes(hostile::pdf(30, hostile::strokes(400'000))), u"trop de traits"_s},
        {"WordyRichText", u"long.rtf"_s, bytes(hostile::wordyRtf(17'000'000)), u"trop long"_s},
        {"NestedRichTextGroups", u"groupes.rtf"_s, bytes(hostile::nestedRtf(2'000'000)), u"endommagé"_s},
        // Raw bytes said to run past the file's end, the groups after them unread.
        {"RawBytesPastTheEnd", u"binaire.rtf"_s, bytes("{\\rtf1 \\bin99999999999 " + hostile::nestedRtf(2'000'000)),
         u"endommagé"_s},
        {"RawBytesPastAnyNumber", u"débordement.rtf"_s,
         bytes("{\\rtf1\\ansi\\deff0 \\bin9223372036854775807 {\\b Le loup.}}"), u"endommagé"_s},
        {"OneWordText", u"mot.txt"_s, bytes(QByteArray(2'000'000, 'a')), u"un de ses mots"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.file);
        c.make(path);
        ASSERT_LE(QFileInfo(path).size(), sources::MaxFileBytes);
        const WorkMeter work;
        QString message;
        try {
            // The rich text goes to a converter that would never return: it
            // is refused before.
            const QStringList lines = path.endsWith(u".rtf"_s) ? sources::readThroughOffice(path, converter)
                                                                : sources::readSource(path).value_or(QStringList());
            ADD_FAILURE() << "read " << lines.size() << " lines";
        } catch (const workspace::IoError &error) {
            message = error.message();
        }
        const qint64 memory = work.peakMiB();
        RecordProperty(c.name, QStringLiteral("%1 MiB, %2 bytes read of %3")
                                   .arg(memory).arg(work.bytesRead()).arg(QFileInfo(path).size()).toStdString());
        // AddressSanitizer keeps freed memory aside and maps its shadow: the
        // peak it shows is not the reader's. The word processors' parts are
        // read as they are unpacked (the 120 MB run took 822 MiB read whole).
        if (!UnderAddressSanitizer) {
            EXPECT_LT(memory, 192);
        }
        // Each file is read once at most (the margin: the meter's own reads).
        EXPECT_LE(work.bytesRead(), QFileInfo(path).size() + 256 * 1024);
        EXPECT_TRUE(message.contains(c.says)) << message.toStdString();
        EXPECT_TRUE(message.contains(u"« "_s + c.file + u" »"_s)) << message.toStdString();
        QFile::remove(path);
    }
    EXPECT_FALSE(stillAliveAfterAWhile(converter + u".pid"_s));
}

} // namespace

namespace {

// "Annuler" while a large document is read: the reading ends within a piece
// of its body, long before the whole is unpacked.
TEST(HostileFiles, AStopEndsTheReadingWithinAPiece)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"long.odt"_s);
    hostile::writeLongRunOdt(path, 120'000'000);

    // A part stops being given once a stop is requested.
    const sources::ZipArchive archive(path, bytesOf(path));
    std::stop_source stop;
    const std::unique_ptr<sources::ZipPart> part = archive.openPart(u"content.xml"_s, stop.get_token());
    ASSERT_TRUE(part);
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    EXPECT_EQ(part->read(piece.data(), piece.size()), piece.size());
    stop.request_stop();
    EXPECT_EQ(part->read(piece.data(), piece.size()), -1);
    EXPECT_THROW(part->check(), workspace::IoError);

    // The reader asked to stop brings nothing in, says so, and unpacks no
    // more than a piece.
    const WorkMeter work;
    QString message;
    try {
        sources::readSource(path, stop.get_token());
        ADD_FAILURE() << "read";
    } catch (const workspace::IoError &error) {
        message = error.message();
    }
    EXPECT_EQ(message, u"La lecture du fichier « long.odt » a été annulée."_s);
    if (!UnderAddressSanitizer) {
        EXPECT_LT(work.peakMiB(), 16);
    }
}

// A conversion past its time ends the converter and the worker it started,
// and says so: the file is neither damaged nor protected.
TEST(HostileFiles, ASlowConversionEndsWithEveryProcessItStarted)
{
    QTemporaryDir dir;
    const QString converter = hangingConverter(dir);
    const QString path = dir.filePath(u"conte.rtf"_s);
    writeFile(path, "{\\rtf1\\ansi Il \\'e9tait une fois.\\par}");
    QString message;
    try {
        // The converter sleeps ten minutes and would then say nothing: past
        // its time, it is ended and the message says so.
        sources::readThroughOffice(path, converter, {}, 2);
        ADD_FAILURE() << "converted";
    } catch (const workspace::IoError &error) {
        message = error.message();
    }
    EXPECT_TRUE(message.contains(u"n'a pas abouti en 2 secondes"_s)) << message.toStdString();
    EXPECT_FALSE(message.contains(u"endommagé"_s)) << message.toStdString();
    ASSERT_FALSE(bytesOf(converter + u".worker"_s).startsWith('<'));
    EXPECT_FALSE(stillAliveAfterAWhile(converter + u".pid"_s));
    EXPECT_FALSE(stillAliveAfterAWhile(converter + u".worker"_s));
}

} // namespace
