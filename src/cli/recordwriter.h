#pragma once

#include <QJsonValue>
#include <QString>
#include <QTextStream>
#include <QVector>

// Writes the tool's results to standard output, one record a line: by default
// the record's kind and its fields separated by tabs, with --json one JSON
// object holding "kind" and the named fields. Texts are written on one line
// (tabs and line breaks become blanks), so a record never spans lines and a
// field never holds a tab. In the tab-separated form a true flag is written
// as its name and a false one as "-".
class RecordWriter
{
public:
    struct Field
    {
        QString msName;
        QJsonValue mValue;
    };

    explicit RecordWriter(bool abJson);
    ~RecordWriter();

    void write(const QString &asKind, const QVector<Field> &acFields);

private:
    bool mbJson;
    QTextStream mOut;
};
