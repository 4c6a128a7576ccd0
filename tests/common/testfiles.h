#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Whole files as the tests read and write them, byte for byte.

// The file's bytes; "<missing: PATH>" when it cannot be read, so that a
// missing file never passes for an empty one, nor two missing files for equal.
inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing: " + QFile::encodeName(path) + '>';
    return file.readAll();
}

// Writes bytes to a file, making its folders; the test fails if it cannot.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

// Each of the 256 byte values, then line ends of every kind: a file that a
// transfer in text mode or a code page conversion would change.
inline QByteArray everyByte()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes + "\r\nfin\n\r";
}
