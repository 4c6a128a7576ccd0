#include "publishing/uploadplan.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

using namespace Qt::StringLiterals;

namespace {

QByteArray sha(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

const QString Stamp = u"20261211072500"_s;
const QString Signature = u"12.1765437900123456789.1765437900123456789.2049.131"_s;
const QString Touched = u"12.1765437999000000000.1765437999000000000.2049.131"_s;

} // namespace

// One file, "conte.html", sent as 12 bytes "il etait une" with Stamp, and how
// it stands now on the host and here.
TEST(UploadPlan, LeavesOutOnlyWhatTheHostHoldsAsSentWithTheSameBytesHere)
{
    const publishing::SentFile sent{12, sha("il etait une"), Stamp, Signature};
    const publishing::RemoteFile listed{u"conte.html"_s, 12, Stamp};
    const struct
    {
        const char *name;
        bool recorded;
        std::optional<QList<publishing::RemoteFile>> listing;
        qint64 localSize;
        QString signature;
        std::optional<QByteArray> bytes;  // what reading the file gives
        bool unchanged;
        int reads;
    } cases[] = {
        {"as sent, untouched here: not read", true, QList{listed}, 12, Signature, "il etait une", true, 0},
        {"as sent, touched here with the same bytes", true, QList{listed}, 12, Touched, "il etait une", true, 1},
        {"as sent, touched here with other bytes", true, QList{listed}, 12, Touched, "il etait UNE", false, 1},
        {"as sent, unreadable here", true, QList{listed}, 12, Touched, std::nullopt, false, 1},
        {"gone here", true, QList{listed}, 0, QString(), std::nullopt, false, 0},
        {"another size here", true, QList{listed}, 13, Touched, "il etait une.", false, 0},
        {"written since by another program (stamp)", true, QList{publishing::RemoteFile{u"conte.html"_s, 12, u"20261212080000"_s}},
         12, Signature, "il etait une", false, 0},
        {"cut short on the host", true, QList{publishing::RemoteFile{u"conte.html"_s, 5, Stamp}}, 12, Signature,
         "il etait une", false, 0},
        {"not on the host", true, QList<publishing::RemoteFile>{}, 12, Signature, "il etait une", false, 0},
        {"no listing (a client that cannot list, or everything asked)", true, std::nullopt, 12, Signature,
         "il etait une", false, 0},
        {"never sent by this folder", false, QList{listed}, 12, Signature, "il etait une", false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QHash<QString, publishing::SentFile> recorded;
        if (c.recorded)
            recorded.insert(u"conte.html"_s, sent);
        int reads = 0;
        const publishing::UploadPlan plan = publishing::planUpload(
            recorded, c.listing, {{u"conte.html"_s, c.localSize, c.signature}}, [&](const publishing::LocalFile &file) {
                EXPECT_EQ(file.name, u"conte.html"_s);
                ++reads;
                return c.bytes ? std::optional<QByteArray>(sha(*c.bytes)) : std::nullopt;
            });
        EXPECT_EQ(plan.unchanged, c.unchanged ? QStringList{u"conte.html"_s} : QStringList());
        EXPECT_EQ(plan.toSend, c.unchanged ? QStringList() : QStringList{u"conte.html"_s});
        EXPECT_EQ(reads, c.reads);
        if (c.unchanged) {
            // Kept with the stamp the host gave, and the signature of now.
            const publishing::SentFile line = plan.unchangedLines.value(u"conte.html"_s);
            EXPECT_EQ(line.size, 12);
            EXPECT_EQ(line.sha256, sent.sha256);
            EXPECT_EQ(line.stamp, Stamp);
            EXPECT_EQ(line.local, c.signature);
        } else {
            EXPECT_TRUE(plan.unchangedLines.isEmpty());
        }
    }
}

TEST(UploadPlan, AHostWithoutStampsLeavesOutByTheSizeAndKeepsTheOrderOfTheRest)
{
    QHash<QString, publishing::SentFile> recorded;
    recorded.insert(u"b.html"_s, {3, sha("bbb"), QString(), Signature});
    recorded.insert(u"d.png"_s, {2, sha("dd"), QString(), QString()});
    const QList<publishing::RemoteFile> listing{{u"d.png"_s, 2, QString()}, {u"b.html"_s, 3, QString()}};
    const QList<publishing::LocalFile> files{
        {u"c.css"_s, 1, u"c"_s}, {u"b.html"_s, 3, Signature}, {u"a.html"_s, 1, u"a"_s}, {u"d.png"_s, 2, QString()}};
    QStringList read;
    const publishing::UploadPlan plan =
        publishing::planUpload(recorded, listing, files, [&](const publishing::LocalFile &file) {
            read << file.name;
            // d.png has no signature to vouch for it: its bytes are read, and
            // are those sent.
            return std::optional<QByteArray>(sha("dd"));
        });
    EXPECT_EQ(plan.toSend, (QStringList{u"c.css"_s, u"a.html"_s}));
    EXPECT_EQ(plan.unchanged, (QStringList{u"b.html"_s, u"d.png"_s}));
    EXPECT_EQ(read, QStringList{u"d.png"_s});
}
