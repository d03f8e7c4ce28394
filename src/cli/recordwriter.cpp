#include "cli/recordwriter.h"

#include "models/plaintext.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstdio>

RecordWriter::RecordWriter(bool abJson) : mbJson(abJson), mOut(stdout)
{
    mOut.setCodec("UTF-8");
}

RecordWriter::~RecordWriter()
{
    mOut.flush();
}

void RecordWriter::write(const QString &asKind, const QVector<Field> &acFields)
{
    if (mbJson) {
        QJsonObject vObject{{QStringLiteral("kind"), asKind}};
        for (const Field &vField : acFields)
            vObject.insert(vField.msName,
                           vField.mValue.isString()
                               ? QJsonValue(PlainText::oneLine(vField.mValue.toString()))
                               : vField.mValue);
        mOut << QString::fromUtf8(QJsonDocument(vObject).toJson(QJsonDocument::Compact)) << '\n';
        return;
    }
    QStringList vcColumns{asKind};
    for (const Field &vField : acFields) {
        const QJsonValue &vValue = vField.mValue;
        if (vValue.isBool())
            vcColumns << (vValue.toBool() ? vField.msName : QStringLiteral("-"));
        else if (vValue.isDouble())
            vcColumns << QString::number(vValue.toDouble(), 'g', 15);
        else
            vcColumns << PlainText::oneLine(vValue.toString());
    }
    mOut << vcColumns.join(QLatin1Char('\t')) << '\n';
}
