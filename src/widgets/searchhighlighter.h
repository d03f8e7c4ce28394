#pragma once

#include "models/searchflags.h"

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Marks every occurrence of the searched words in a page's text view, following
// the advanced search options. It only formats the visible text; the document's
// contents stay as they are.
class SearchHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit SearchHighlighter(QObject *parent);

    // The text may arrive in its SQL form, with apostrophes doubled.
    // The data language chooses the word forms of a search that asks for them.
    void setSearch(const QString &asText, const QTextCharFormat &aFormat,
                   AdvancedSearchFlags aFlags, const QString &asLanguage = QString());

    // One expression matching all searched words; an empty pattern when there is
    // nothing to look for. An invalid expression (bad user regex) marks nothing.
    static QRegularExpression pattern(const QString &asText, AdvancedSearchFlags aFlags,
                                      const QString &asLanguage = QString());
    // Lets the letter е (and Е) also match ё (Ё) in s; with abRegex false, s is
    // taken literally and escaped first.
    static QString makeYoInsensitive(const QString &s, bool abRegex);

protected:
    void highlightBlock(const QString &text) override;

private:
    QTextCharFormat mFormat;
    QRegularExpression mPattern;
};
