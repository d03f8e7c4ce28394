#pragma once

#include "models/fileproblem.h"

#include <QCoreApplication>
#include <QString>

// What the reader is told about a data file the data store cannot use: the
// file, what is wrong with it in plain words, and what to do. The window
// shows it in a box, the command-line tool prints it as its one line.
class FileProblemText
{
    Q_DECLARE_TR_FUNCTIONS(FileProblemText)

public:
    static QString title();
    static QString describe(const QString &asPath, FileProblem aProblem);
};
