#pragma once

#include "failure.h"

namespace workspace {

// An input/output failure: a file that cannot be opened, read or written.
// Its text names the file.
class IoError : public Failure
{
public:
    IoError(QString message, QString path);

    const QString &path() const { return m_path; }

    static IoError cannotRead(const QString &path);
    static IoError cannotWrite(const QString &path);
    // A whole-file write that failed; the file, when it existed, is as it was.
    static IoError cannotReplace(const QString &path, bool existed);
    static IoError emptyPicture(const QString &path);

private:
    QString m_path;
};

} // namespace workspace
