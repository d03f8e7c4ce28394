#include "models/searchterms.h"

#include <libstemmer.h>

#include <QHash>

#include <memory>

namespace SearchTerms {

namespace {

bool isYo(QChar aChar)
{
    return aChar == cLowerYo || aChar == cUpperYo;
}

// Only words of letters are widened: anything else in a word (a quote, an
// asterisk, a hyphen, an apostrophe) keeps its meaning in the query as typed.
bool isPlainWord(const QString &asWord)
{
    for (const QChar vChar : asWord)
        if (!vChar.isLetter() && !vChar.isMark())
            return false;
    return !asWord.isEmpty();
}

QString foldYo(QString asWord)
{
    asWord.replace(cLowerYo, cLowerE);
    return asWord.replace(cUpperYo, cUpperE);
}

const char *algorithm(const QString &asLanguage)
{
    if (asLanguage == QLatin1String("ru"))
        return "russian";
    if (asLanguage == QLatin1String("en"))
        return "english";
    if (asLanguage == QLatin1String("fr"))
        return "french";
    return nullptr;
}

struct StemmerDeleter
{
    void operator()(sb_stemmer *apStemmer) const { sb_stemmer_delete(apStemmer); }
};

// A stemmer keeps its work in itself, so every thread has its own.
sb_stemmer *stemmerFor(const char *apAlgorithm)
{
    thread_local QHash<QByteArray, std::shared_ptr<sb_stemmer>> tcStemmers;
    const QByteArray vName(apAlgorithm);
    auto vFound = tcStemmers.find(vName);
    if (vFound == tcStemmers.end())
        vFound = tcStemmers.insert(
            vName,
            std::shared_ptr<sb_stemmer>(sb_stemmer_new(apAlgorithm, "UTF_8"), StemmerDeleter()));
    return vFound->get();
}

// The words' alternatives joined into one query term: "word*" or
// "(one* OR other*)".
QString group(const QStringList &acAlternatives, const QString &asSuffix)
{
    if (acAlternatives.size() == 1)
        return acAlternatives.first() + asSuffix;
    return QLatin1Char('(') + acAlternatives.join(asSuffix + QStringLiteral(" OR ")) + asSuffix +
           QLatin1Char(')');
}

// The spellings of every word, within the query's cap on terms.
QList<QStringList> alternatives(const QStringList &acWords, AdvancedSearchFlags aFlags,
                                const QString &asLanguage, bool *apWidened)
{
    const AdvancedSearchFlags vMode = searchMode(aFlags);
    const bool vbForms = aFlags.testFlag(WordForms) && (vMode == NoOption || vMode == AnyWord);
    const bool vbYo = aFlags.testFlag(YoAlike);
    QList<QStringList> vcResult;
    int vnTerms = 0;
    for (const QString &vsWord : acWords) {
        QString vsBase = vsWord;
        if (vbForms && isPlainWord(vsWord)) {
            vsBase = stem(vsWord, asLanguage);
            *apWidened = *apWidened || vsBase != vsWord.toLower();
        }
        QStringList vcSpellings =
            vbYo && isPlainWord(vsBase) ? yoVariants(vsBase) : QStringList{vsBase};
        const int vnLeft = cnMaxTerms - vnTerms - (acWords.size() - vcResult.size() - 1);
        if (vcSpellings.size() > std::max(1, vnLeft))
            vcSpellings = QStringList{vsBase};
        *apWidened = *apWidened || vcSpellings.size() > 1;
        vnTerms += vcSpellings.size();
        vcResult.append(vcSpellings);
    }
    return vcResult;
}

// A pattern matching a word as written, е and ё alike when asked.
QString literal(const QString &asWord, bool abYo)
{
    QString vsResult;
    for (const QChar vChar : asWord) {
        if (abYo && (isE(vChar) || isYo(vChar)))
            vsResult += QStringLiteral("[\\x{0435}\\x{0451}\\x{0415}\\x{0401}]");
        else if (vChar.isLetterOrNumber())
            vsResult += vChar;
        else
            vsResult += QRegularExpression::escape(QString(vChar));
    }
    return vsResult;
}

} // namespace

bool widens(AdvancedSearchFlags aFlags)
{
    const AdvancedSearchFlags vMode = searchMode(aFlags);
    if (aFlags.testFlag(WordForms) && (vMode == NoOption || vMode == AnyWord))
        return true;
    return aFlags.testFlag(YoAlike) &&
           (vMode == NoOption || vMode == AnyWord || vMode == WholeWords || vMode == ExactPhrase);
}

QString stem(const QString &asWord, const QString &asLanguage)
{
    const QString vsLower = asWord.toLower();
    const char *vpAlgorithm = algorithm(asLanguage);
    if (!vpAlgorithm || !isPlainWord(vsLower))
        return vsLower;
    sb_stemmer *vpStemmer = stemmerFor(vpAlgorithm);
    if (!vpStemmer)
        return vsLower;
    // The stemmers take ё as е; the stem is compared with the word so folded.
    const QString vsFolded = foldYo(vsLower);
    const QByteArray vUtf8 = vsFolded.toUtf8();
    const sb_symbol *vpStem = sb_stemmer_stem(
        vpStemmer, reinterpret_cast<const sb_symbol *>(vUtf8.constData()), vUtf8.size());
    if (!vpStem)
        return vsLower;
    const QString vsStem =
        QString::fromUtf8(reinterpret_cast<const char *>(vpStem), sb_stemmer_length(vpStemmer));
    int vnShared = 0;
    while (vnShared < vsStem.size() && vnShared < vsFolded.size() &&
           vsStem.at(vnShared) == vsFolded.at(vnShared))
        ++vnShared;
    if (vnShared < 3)
        return vsLower;
    // The word's own letters: a typed ё stays ё.
    return vsLower.left(vnShared);
}

QStringList yoVariants(const QString &asWord)
{
    QStringList vcResult{asWord};
    const QString vsFolded = foldYo(asWord);
    if (!vcResult.contains(vsFolded))
        vcResult.append(vsFolded);
    for (int i = 0; i < vsFolded.size() && vcResult.size() < cnMaxVariants; ++i) {
        if (!isE(vsFolded.at(i)))
            continue;
        QString vsVariant = vsFolded;
        vsVariant[i] = vsFolded.at(i) == cLowerE ? cLowerYo : cUpperYo;
        if (!vcResult.contains(vsVariant))
            vcResult.append(vsVariant);
    }
    return vcResult;
}

QString condition(const QString &asText, AdvancedSearchFlags aFlags, const QString &asLanguage)
{
    if (!widens(aFlags))
        return QString();
    const QStringList vcWords = asText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (vcWords.isEmpty())
        return QString();
    bool vbWidened = false;
    const QList<QStringList> vcAlternatives = alternatives(vcWords, aFlags, asLanguage, &vbWidened);
    if (!vbWidened)
        return QString();

    const AdvancedSearchFlags vMode = searchMode(aFlags);
    if (vMode == ExactPhrase) {
        // Every combination of the words' spellings, fewest changes first,
        // within the cap.
        QStringList vcPhrases{QString()};
        for (const QStringList &vcSpellings : vcAlternatives) {
            QStringList vcLonger;
            for (const QString &vsSpelling : vcSpellings)
                for (const QString &vsPhrase : qAsConst(vcPhrases))
                    if (vcLonger.size() < cnMaxTerms)
                        vcLonger.append(vsPhrase.isEmpty()
                                            ? vsSpelling
                                            : vsPhrase + QLatin1Char(' ') + vsSpelling);
            vcPhrases = vcLonger;
        }
        for (QString &vsPhrase : vcPhrases)
            vsPhrase = QLatin1Char('"') + vsPhrase + QLatin1Char('"');
        return vcPhrases.size() == 1
                   ? vcPhrases.first()
                   : QLatin1Char('(') + vcPhrases.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    const QString vsSuffix = vMode == WholeWords ? QString() : QStringLiteral("*");
    QStringList vcTerms;
    for (const QStringList &vcSpellings : vcAlternatives)
        vcTerms.append(group(vcSpellings, vsSuffix));
    const bool vbAny = vMode == AnyWord && vcTerms.size() > 1;
    return vcTerms.join(vbAny ? QStringLiteral(" OR ") : QStringLiteral(" "));
}

QRegularExpression marks(const QString &asText, AdvancedSearchFlags aFlags,
                         const QString &asLanguage)
{
    QString vsText = asText;
    vsText.replace(QStringLiteral("''"), QStringLiteral("'"));
    const QStringList vcWords =
        vsText.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (vcWords.isEmpty())
        return QRegularExpression();
    const AdvancedSearchFlags vMode = searchMode(aFlags);
    const bool vbYo = aFlags.testFlag(YoAlike);
    const bool vbForms = aFlags.testFlag(WordForms) && (vMode == NoOption || vMode == AnyWord);
    QStringList vcPieces;
    for (const QString &vsWord : vcWords) {
        if (vbForms && isPlainWord(vsWord))
            vcPieces.append(
                QStringLiteral("\\b%1\\w*").arg(literal(stem(vsWord, asLanguage), vbYo)));
        else if (vMode == WholeWords)
            vcPieces.append(QStringLiteral("\\b%1\\b").arg(literal(vsWord, vbYo)));
        else
            vcPieces.append(literal(vsWord, vbYo));
    }
    const QString vsPattern = vMode == ExactPhrase ? vcPieces.join(QStringLiteral("\\s+"))
                                                   : vcPieces.join(QLatin1Char('|'));
    return QRegularExpression(QStringLiteral("(%1)").arg(vsPattern),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::UseUnicodePropertiesOption);
}

} // namespace SearchTerms
