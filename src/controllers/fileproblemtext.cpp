#include "controllers/fileproblemtext.h"

#include <QDir>

QString FileProblemText::title()
{
    return tr("Data file");
}

QString FileProblemText::describe(const QString &asPath, FileProblem aProblem)
{
    const QString vsFile = QDir::toNativeSeparators(asPath);
    switch (aProblem) {
    case FileProblem::None:
        break;
    case FileProblem::Folder:
        return tr("The data file %1 cannot be opened: a folder of that name stands in its place. "
                  "Move the folder away or put the data file there.")
            .arg(vsFile);
    case FileProblem::Unreadable:
        return tr("The data file %1 cannot be opened: it cannot be read with your permissions, "
                  "or its disk does not answer.")
            .arg(vsFile);
    case FileProblem::NotDatabase:
        return tr("The file %1 is not a data file of this program. It was left as it is; put a "
                  "good copy of the data file in its place.")
            .arg(vsFile);
    case FileProblem::Damaged:
        return tr("The data file %1 is damaged: it is incomplete or partly overwritten. It was "
                  "left as it is; put a good copy in its place, or delete it and download the "
                  "texts again.")
            .arg(vsFile);
    case FileProblem::Locked:
        return tr("The data file %1 is in use by another program. Close that program, then "
                  "choose this language again.")
            .arg(vsFile);
    case FileProblem::ReadOnly:
        return tr("The data file %1 is write-protected: its texts can be read, but nothing can "
                  "be added to it or removed from it.")
            .arg(vsFile);
    case FileProblem::Full:
        return tr("The disk holding the data file %1 is full: nothing more could be written to "
                  "it, and the file was left as it was. Make room on the disk, then try again.")
            .arg(vsFile);
    }
    return QString();
}
