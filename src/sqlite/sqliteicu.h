#pragma once

#include <QByteArray>
#include <QVector>

// The program's SQLite layer: its database files hold FTS4 tables declared with
// "tokenize=icu ru_RU", a tokenizer the system's SQLite does not have.
namespace SqliteIcu {

// Idempotent and thread-safe: installs the icu tokenizer as a process-wide SQLite
// auto extension (so every connection opened afterwards knows it) and registers the
// Qt SQL driver name "QSQLITEICU", which yields Qt's stock SQLite driver.
void install();

// For tests and tools: the tokens of a text as the tokenizer produces them.
// start and end are byte offsets into aUtf8; text is the case-folded UTF-8 form.
struct Token
{
    QByteArray text;
    int start;
    int end;
    int position;
};

QVector<Token> tokenize(const QByteArray &aUtf8, const QByteArray &aLocale = "ru_RU");

} // namespace SqliteIcu

Q_DECLARE_TYPEINFO(SqliteIcu::Token, Q_MOVABLE_TYPE);
