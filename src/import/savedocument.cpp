#include "savedocument.h"

namespace import {

TableOfContents saveNewDocument(const DocumentNames &names, const TakenPicture &picture,
                                const BoxLines &typedLines, const QString &studentFolder,
                                const QString &templateFolder, const std::function<void()> &written)
{
    writeDocument(names, typedLines, studentFolder, templateFolder);
    if (written)
        written();
    placePicture(picture, names.picturePath);
    return writeTable(studentFolder, names.documentName, names.pictureName);
}

} // namespace import
