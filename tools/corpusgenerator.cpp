#include "corpusgenerator.h"

#include "biblebooks.h"

#include "models/database.h"

#include <QSet>

#include <algorithm>
#include <initializer_list>
#include <random>

// Integer draws from a standard-fixed engine; a std::*_distribution would give
// other numbers with another standard library.
class CorpusGenerator::Dice
{
public:
    Dice(std::initializer_list<quint32> acSeeds)
    {
        std::seed_seq vSeeds(acSeeds);
        mEngine.seed(vSeeds);
    }

    // 0 <= result < anLimit (anLimit > 0).
    quint32 below(quint32 anLimit) { return quint32((quint64(mEngine()) * anLimit) >> 32); }
    bool percent(quint32 anPercent) { return below(100) < anPercent; }
    quint64 wide()
    {
        const quint64 vnHigh = mEngine();
        return (vnHigh << 32) | mEngine();
    }

    template<typename T> const T &pick(const T *apItems, int anCount)
    {
        return apItems[below(quint32(anCount))];
    }

private:
    std::mt19937 mEngine;
};

namespace {

// Salts that keep the engines of the catalogue, the sermons and the books
// apart although they share the corpus seed.
enum Stream : quint32
{
    CatalogueStream = 1,
    SermonStream = 2,
    BookStream = 3
};

// Short real words open the frequency list, as in any Russian text; the rest
// of the vocabulary is made up.
const char *const cFunctionWords[] = {
    "и",    "в",   "не",  "на",  "я",   "что",    "он",  "с",   "это",   "а",    "как",
    "мы",   "то",  "вы",  "но",  "по",  "так",    "к",   "бы",  "его",   "все",  "они",
    "было", "же",  "из",  "у",   "за",  "от",     "о",   "для", "когда", "если", "да",
    "нет",  "вот", "там", "уже", "еще", "только", "ибо", "тот", "сказал"};

const char *const cOnsets[] = {"б",  "в",  "в",  "г",  "д",  "д",  "ж",  "з",  "к",  "к",  "л",
                               "л",  "м",  "м",  "н",  "н",  "п",  "п",  "р",  "р",  "с",  "с",
                               "т",  "т",  "ф",  "х",  "ц",  "ч",  "ш",  "щ",  "бл", "бр", "вл",
                               "вр", "гл", "гр", "дв", "др", "зв", "кл", "кр", "пл", "пр", "св",
                               "сл", "см", "сп", "ст", "тр", "хр", "чт", "шк"};
const char *const cVowels[] = {"а", "а", "а", "а", "о", "о", "о", "о", "о", "е", "е", "е",
                               "е", "и", "и", "и", "у", "у", "я", "я", "ы", "ю", "ё"};
const char *const cInitialVowels[] = {"а", "о", "о", "о", "и", "и", "у", "у", "я", "э", "е"};
const char *const cCodas[] = {"н", "м",  "р",  "л",  "с",  "т",  "й",  "к",
                              "в", "ст", "нт", "рт", "ль", "нь", "сть"};
const char *const cEndings[] = {"ость", "ение", "ание", "ый",   "ий",  "ая",  "ое",   "ого",
                                "ому",  "ами",  "ях",   "ться", "ет",  "ют",  "ил",   "ала",
                                "ные",  "ного", "ский", "ство", "ник", "ция", "ются", "ешь"};
const char *const cSentenceEnds[] = {".", ".", ".", ".", ".", ".", ".", ".",  ".",
                                     ".", ".", ".", ".", ".", "?", "!", "..."};

template<size_t N> int countOf(const char *const (&)[N])
{
    return int(N);
}

bool isVowel(QChar aChar)
{
    static const QString csVowels = QStringLiteral("аоеиуяыюёэ");
    return csVowels.contains(aChar);
}

// Russian spelling: no ы, я, ю after г, к, х, ж, ш, щ, ч.
QString withSpelling(const QString &asOnset, QString asVowel)
{
    static const QString csHard = QStringLiteral("гкхжшщч");
    if (csHard.contains(asOnset.back())) {
        static const QString csFrom = QStringLiteral("ыяю");
        static const QString csTo = QStringLiteral("иау");
        const int vnAt = csFrom.indexOf(asVowel.at(0));
        if (vnAt >= 0)
            asVowel[0] = csTo.at(vnAt);
    }
    return asOnset + asVowel;
}

QString capitalised(const QString &asWord)
{
    return asWord.isEmpty() ? asWord : asWord.left(1).toUpper() + asWord.mid(1);
}

QString twoDigits(int anValue)
{
    return QStringLiteral("%1").arg(anValue, 2, 10, QLatin1Char('0'));
}

QString sqlText(QString asText)
{
    return asText.replace(QLatin1Char('\''), QStringLiteral("''"));
}

qint64 utf8Size(const QString &asText)
{
    qint64 vnBytes = 0;
    for (const QChar vChar : asText) {
        const ushort vnCode = vChar.unicode();
        vnBytes += vnCode < 0x80 ? 1 : (vnCode < 0x800 || vChar.isLowSurrogate() ? 2 : 3);
    }
    return vnBytes;
}

// The vocabulary: a Zipf law (weight 1/rank) over the core words, falling off
// with 1/rank² in the tail. With 1/rank alone over a few thousand words even
// the last one would fill hundreds of paragraphs; this way the full corpus
// has words in every third paragraph, in hundreds, and in a couple of dozen.
const int cCoreWords = 4000;
const int cVocabulary = 20000;
const int cRankOffset = 4;
const quint64 cWeightScale = quint64(1) << 40;

quint64 rankWeight(int anRank)
{
    const quint64 vnRank = quint64(anRank + cRankOffset);
    if (anRank < cCoreWords)
        return cWeightScale / vnRank;
    return cWeightScale * quint64(cCoreWords + cRankOffset) / (vnRank * vnRank);
}

} // namespace

CorpusGenerator::CorpusGenerator(const Options &aOptions) : mOptions(aOptions)
{
    Dice vDice{mOptions.mnSeed, CatalogueStream};
    buildVocabulary(vDice);
    buildSermons(vDice);
    buildBible(vDice);
}

QString CorpusGenerator::makeWord(Dice &aDice, int anSyllables, bool abEnding) const
{
    QString vsWord;
    for (int i = 0; i < anSyllables; ++i) {
        if (i == 0 && aDice.percent(15))
            vsWord += QString::fromUtf8(aDice.pick(cInitialVowels, countOf(cInitialVowels)));
        else {
            const QString vsOnset = QString::fromUtf8(aDice.pick(cOnsets, countOf(cOnsets)));
            vsWord +=
                withSpelling(vsOnset, QString::fromUtf8(aDice.pick(cVowels, countOf(cVowels))));
        }
        // ё is rare in print; enough words keep it for ё/е searches.
        if (vsWord.endsWith(QStringLiteral("ё")) && aDice.percent(70))
            vsWord.back() = QChar(0x0435);
        if (aDice.percent(i + 1 == anSyllables ? 35 : 15))
            vsWord += QString::fromUtf8(aDice.pick(cCodas, countOf(cCodas)));
    }
    if (abEnding && anSyllables > 1 && aDice.percent(45)) {
        const QString vsEnding = QString::fromUtf8(aDice.pick(cEndings, countOf(cEndings)));
        if (isVowel(vsEnding.at(0)) && isVowel(vsWord.back()))
            vsWord.chop(1);
        vsWord += vsEnding;
    }
    return vsWord;
}

void CorpusGenerator::buildVocabulary(Dice &aDice)
{
    QSet<QString> vcSeen;
    for (const char *vpWord : cFunctionWords) {
        mcWords.append(QString::fromUtf8(vpWord));
        vcSeen.insert(mcWords.back());
    }

    // Frequent words are short in real languages: the made-up words are
    // ranked by length, ties broken by a random key.
    struct Candidate
    {
        QString msWord;
        quint32 mnKey;
    };
    QVector<Candidate> vcCandidates;
    static const int cnSyllables[] = {1, 2, 2, 2, 2, 3, 3, 3, 3, 4};
    while (mcWords.size() + vcCandidates.size() < cVocabulary) {
        const int vnSyllables = cnSyllables[aDice.below(10)];
        QString vsWord = makeWord(aDice, vnSyllables);
        if (vsWord.size() < 2 || vcSeen.contains(vsWord))
            continue;
        vcSeen.insert(vsWord);
        vcCandidates.append({vsWord, quint32(vsWord.size()) * 16 + aDice.below(64)});
    }
    std::stable_sort(vcCandidates.begin(), vcCandidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.mnKey < b.mnKey; });
    for (const Candidate &vCandidate : qAsConst(vcCandidates))
        mcWords.append(vCandidate.msWord);

    quint64 vnSum = 0;
    for (int i = 0; i < mcWords.size(); ++i) {
        mcCapitalised.append(capitalised(mcWords.at(i)));
        vnSum += rankWeight(i);
        mcCumulative.append(vnSum);
    }
}

int CorpusGenerator::pickRank(Dice &aDice) const
{
    const quint64 vnPoint = aDice.wide() % mcCumulative.back();
    return int(std::upper_bound(mcCumulative.begin(), mcCumulative.end(), vnPoint) -
               mcCumulative.begin());
}

QString CorpusGenerator::makeName(Dice &aDice, const QStringList &acEndings) const
{
    QString vsName;
    while (vsName.size() < 5) {
        QString vsStem = makeWord(aDice, 2, false);
        const QString vsEnding = acEndings.at(int(aDice.below(quint32(acEndings.size()))));
        if (isVowel(vsEnding.at(0)) && isVowel(vsStem.back()))
            vsStem.chop(1);
        vsName = capitalised(vsStem + vsEnding);
    }
    return vsName;
}

QString CorpusGenerator::makeTitle(Dice &aDice) const
{
    static const int cnLengths[] = {1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 4, 4, 4, 5};
    const int vnWords = cnLengths[aDice.below(20)];
    QStringList vcWords;
    // Content words from the middle of the list, so titles start with many
    // different letters.
    for (int i = 0; i < vnWords; ++i) {
        const int vnRank = 40 + int(aDice.below(cCoreWords - 40));
        vcWords.append(i == 0 ? mcCapitalised.at(vnRank) : mcWords.at(vnRank));
    }
    if (aDice.percent(4))
        vcWords.append(QString::number(2 + aDice.below(3)));
    return vcWords.join(QLatin1Char(' '));
}

void CorpusGenerator::buildSermons(Dice &aDice)
{
    const QStringList vcSurnameEndings{QStringLiteral("ов"), QStringLiteral("ев"),
                                       QStringLiteral("ин"), QStringLiteral("ский"),
                                       QStringLiteral("енко")};
    const QString vsInitials = QStringLiteral("АБВГДЕИКЛМНОПРСТЮЯ");
    for (int i = 0; i < 14; ++i) {
        const QChar vInitial = vsInitials.at(int(aDice.below(quint32(vsInitials.size()))));
        mcTranslators.append(
            QStringLiteral("%1. %2").arg(QString(vInitial), makeName(aDice, vcSurnameEndings)));
    }

    const QStringList vcCityEndings{QStringLiteral("ск"), QStringLiteral("град"),
                                    QStringLiteral("ово"), QStringLiteral("поль"),
                                    QStringLiteral("ин")};
    const QStringList vcRegionEndings{QStringLiteral("ия"), QStringLiteral("ская область"),
                                      QStringLiteral("ский край")};
    for (int i = 0; i < 45; ++i) {
        const QString vsCity = makeName(aDice, vcCityEndings);
        mcPlaces.append(QStringLiteral("%1, %2").arg(vsCity, makeName(aDice, vcRegionEndings)));
    }

    // A few translators and one home town account for most sermons.
    auto vSkewed = [&aDice](int anCount) {
        const quint32 vnFirst = aDice.below(quint32(anCount));
        return int(qMin(vnFirst, aDice.below(quint32(anCount))));
    };

    const int vnTotal = qMax(0, mOptions.mnSermons);
    const int vnFurther = vnTotal / 20;
    const int vnFirst = vnTotal - vnFurther;
    static const int cnMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    QSet<QString> vcDates;
    for (int i = 0; i < vnFirst; ++i) {
        QString vsDate;
        do {
            const int vnYear = 46 + int(aDice.below(20));
            const int vnMonth = 1 + int(aDice.below(12));
            const int vnDay = 1 + int(aDice.below(quint32(cnMonthDays[vnMonth - 1])));
            vsDate = QStringLiteral("%1-%2%3").arg(twoDigits(vnYear), twoDigits(vnMonth),
                                                   twoDigits(vnDay));
            if (aDice.percent(25))
                vsDate += aDice.percent(50) ? QLatin1Char('M') : QLatin1Char('E');
        } while (vcDates.contains(vsDate));
        vcDates.insert(vsDate);

        Sermon vSermon;
        vSermon.msDate = vsDate;
        vSermon.msName = makeTitle(aDice);
        vSermon.msTranslator = mcTranslators.at(vSkewed(mcTranslators.size()));
        vSermon.msPdf = vsDate + QStringLiteral(".pdf");
        vSermon.msMp3 = aDice.percent(30) ? QStringLiteral("-") : vsDate + QStringLiteral(".mp3");
        vSermon.msPlace = mcPlaces.at(aDice.percent(40) ? 0 : vSkewed(mcPlaces.size()));
        const quint32 vnDraw = aDice.below(251);
        vSermon.mnParagraphs = 150 + int(qMin(vnDraw, aDice.below(251))); // 150-400, mostly fewer
        const int vnSeconds = vSermon.mnParagraphs * 21 + int(aDice.below(1200));
        vSermon.msLength = QStringLiteral("%1:%2:%3")
                               .arg(QString::number(vnSeconds / 3600),
                                    twoDigits(vnSeconds / 60 % 60), twoDigits(vnSeconds % 60));
        mcSermons.append(vSermon);
    }

    // Further translations of distinct sermons, by another translator, come
    // after all first translations, as later update files bring them.
    QVector<int> vcOrder(vnFirst);
    for (int i = 0; i < vnFirst; ++i)
        vcOrder[i] = i;
    for (int i = 0; i < vnFurther && i < vnFirst; ++i) {
        std::swap(vcOrder[i], vcOrder[i + int(aDice.below(quint32(vnFirst - i)))]);
        Sermon vSermon = mcSermons.at(vcOrder.at(i));
        vSermon.msDate += QStringLiteral(" *");
        if (aDice.percent(20))
            vSermon.msName = makeTitle(aDice);
        const int vnOther = int(aDice.below(quint32(mcTranslators.size() - 1)));
        const int vnOwn = int(mcTranslators.indexOf(vSermon.msTranslator));
        vSermon.msTranslator = mcTranslators.at(vnOther >= vnOwn ? vnOther + 1 : vnOther);
        vSermon.msPdf = mcSermons.at(vcOrder.at(i)).msDate + QStringLiteral("-2.pdf");
        mcSermons.append(vSermon);
    }
}

void CorpusGenerator::buildBible(Dice &aDice)
{
    const bool vbRussian = mOptions.msLanguage == QLatin1String("ru");
    for (int vnBook = 1; vnBook <= BibleBooks::count(); ++vnBook) {
        Book vBook;
        vBook.mnWestern = BibleBooks::westernBook(vnBook, vbRussian);
        const BibleBooks::BookInfo &vInfo = BibleBooks::book(vBook.mnWestern);

        // Chapter lengths scatter around the book's mean and add up to its
        // real verse total. The longest psalm (176 verses) and the shortest
        // (2) keep their sizes, numbered as the language numbers psalms.
        QVector<bool> vcFixed(vInfo.chapters, false);
        const int vnMean = vInfo.verses / vInfo.chapters;
        const int vnSpread = vnMean * 3 / 10;
        int vnSum = 0;
        for (int c = 0; c < vInfo.chapters; ++c) {
            const int vnVerses = qMax(1, vnMean - vnSpread + int(aDice.below(2 * vnSpread + 1)));
            vBook.mcVerses.append(vnVerses);
        }
        if (vBook.mnWestern == BibleBooks::cnPsalms) {
            const int vnLongest = vbRussian ? 118 : 119;
            vBook.mcVerses[vnLongest - 1] = 176;
            vBook.mcVerses[vnLongest - 3] = 2;
            vcFixed[vnLongest - 1] = vcFixed[vnLongest - 3] = true;
        }
        for (int vnVerses : qAsConst(vBook.mcVerses))
            vnSum += vnVerses;
        for (int c = 0; vnSum != vInfo.verses; c = (c + 1) % vInfo.chapters) {
            if (vcFixed.at(c))
                continue;
            if (vnSum < vInfo.verses) {
                ++vBook.mcVerses[c];
                ++vnSum;
            } else if (vBook.mcVerses.at(c) > 1) {
                --vBook.mcVerses[c];
                --vnSum;
            }
        }
        mcBooks.append(vBook);
    }
}

int CorpusGenerator::bookCount()
{
    return BibleBooks::count();
}

QString CorpusGenerator::bookName(int anBook) const
{
    const BibleBooks::BookInfo &vInfo = BibleBooks::book(mcBooks.at(anBook - 1).mnWestern);
    if (mOptions.msLanguage == QLatin1String("ru"))
        return QString::fromUtf8(vInfo.russian);
    if (mOptions.msLanguage == QLatin1String("fr"))
        return QString::fromUtf8(vInfo.french);
    return QString::fromUtf8(vInfo.english);
}

int CorpusGenerator::chapterCount(int anBook) const
{
    return mcBooks.at(anBook - 1).mcVerses.size();
}

int CorpusGenerator::verseCount(int anBook, int anChapter) const
{
    return mcBooks.at(anBook - 1).mcVerses.at(anChapter - 1);
}

void CorpusGenerator::appendSentence(Dice &aDice, QString &asText) const
{
    int vnWords = 3 + int(aDice.below(11));
    if (aDice.percent(20))
        vnWords += int(aDice.below(12));
    for (int i = 0; i < vnWords; ++i) {
        const int vnRank = pickRank(aDice);
        asText += i == 0 ? mcCapitalised.at(vnRank) : mcWords.at(vnRank);
        if (i + 1 < vnWords)
            asText += vnRank >= countOf(cFunctionWords) && aDice.below(7) == 0
                          ? QStringLiteral(", ")
                          : QStringLiteral(" ");
    }
    // Now and then a scripture reference, as preachers give them.
    if (aDice.percent(3)) {
        const BibleBooks::BookInfo &vBook =
            BibleBooks::book(1 + int(aDice.below(quint32(BibleBooks::count()))));
        const quint32 vnChapter = 1 + aDice.below(quint32(vBook.chapters));
        asText += QStringLiteral(" (%1 %2:%3)")
                      .arg(QString::fromUtf8(vBook.russian), QString::number(vnChapter),
                           QString::number(1 + aDice.below(20)));
    }
    asText += QString::fromUtf8(aDice.pick(cSentenceEnds, countOf(cSentenceEnds)));
}

SermonFile CorpusGenerator::sermon(int anIndex) const
{
    const Sermon &vSermon = mcSermons.at(anIndex);
    Dice vDice{mOptions.mnSeed, SermonStream, quint32(anIndex)};
    SermonFile vFile;
    vFile.msDate = vSermon.msDate;
    vFile.msName = vSermon.msName;
    vFile.msTranslator = vSermon.msTranslator;
    vFile.msPdf = vSermon.msPdf;
    vFile.msMp3 = vSermon.msMp3;
    vFile.msLength = vSermon.msLength;
    vFile.msPlace = vSermon.msPlace;
    vFile.mcParagraphs.reserve(vSermon.mnParagraphs);
    for (int vnParagraph = 1; vnParagraph <= vSermon.mnParagraphs; ++vnParagraph) {
        // Short exclamations and answers among paragraphs of several sentences.
        const int vnSentences = vDice.percent(12) ? 1 : 2 + int(vDice.below(9));
        // The converter keeps the blank after the paragraph label.
        QString vsText = QStringLiteral(" ");
        for (int s = 0; s < vnSentences; ++s) {
            if (s > 0)
                vsText += QLatin1Char(' ');
            appendSentence(vDice, vsText);
        }
        vFile.mcParagraphs.append({QStringLiteral("E-%1").arg(vnParagraph), vsText});
    }
    return vFile;
}

QStringList CorpusGenerator::sermonStatements(int anIndex, qint64 *apTextBytes) const
{
    const SermonFile vSermon = sermon(anIndex);
    const QString vsDate = sqlText(vSermon.msDate);
    QStringList vcStatements;
    vcStatements.reserve(vSermon.mcParagraphs.size() + 1);
    vcStatements.append(
        QStringLiteral("INSERT INTO quotes (date, name, translator, pdf, mp3, length, place) "
                       "VALUES('%1', '%2', '%3', '%4', '%5', '%6', '%7');")
            .arg(vsDate, sqlText(vSermon.msName), sqlText(vSermon.msTranslator),
                 sqlText(vSermon.msPdf), sqlText(vSermon.msMp3), sqlText(vSermon.msLength),
                 sqlText(vSermon.msPlace)));
    qint64 vnBytes = 0;
    for (const SermonFile::Paragraph &vParagraph : vSermon.mcParagraphs) {
        vnBytes += utf8Size(vParagraph.msText);
        vcStatements.append(
            QStringLiteral("INSERT INTO paragraphs (date, id, text) VALUES('%1', '%2', '%3');")
                .arg(vsDate, vParagraph.msId, sqlText(vParagraph.msText)));
    }
    if (apTextBytes)
        *apTextBytes = vnBytes;
    return vcStatements;
}

QStringList CorpusGenerator::bookStatements(int anBook, qint64 *apTextBytes) const
{
    Dice vDice{mOptions.mnSeed, BookStream, quint32(anBook)};
    const QString vsName = sqlText(bookName(anBook));
    const QString vsBook = QString::number(anBook);

    QStringList vcStatements;
    vcStatements.append(
        QStringLiteral("INSERT INTO bibles (book, name) VALUES(%1, '%2');").arg(vsBook, vsName));
    for (int c = 1; c <= chapterCount(anBook); ++c)
        vcStatements.append(
            QStringLiteral("INSERT INTO chapters(book, chapter, name) VALUES(%1, %2, '%3 %4');")
                .arg(vsBook, QString::number(c), vsName, QString::number(c)));

    qint64 vnBytes = 0;
    QString vsText;
    for (int c = 1; c <= chapterCount(anBook); ++c) {
        const QString vsChapter = QString::number(c);
        for (int v = 1; v <= verseCount(anBook, c); ++v) {
            vsText.clear();
            appendSentence(vDice, vsText);
            if (vDice.percent(40)) {
                vsText += QLatin1Char(' ');
                appendSentence(vDice, vsText);
            }
            vnBytes += utf8Size(vsText);
            vcStatements.append(QStringLiteral("INSERT INTO verses(book, chapter, verse, text) "
                                               "VALUES(%1, %2, %3, '%4');")
                                    .arg(vsBook, vsChapter, QString::number(v), sqlText(vsText)));
        }
    }
    if (apTextBytes)
        *apTextBytes = vnBytes;
    return vcStatements;
}

CorpusGenerator::Totals
CorpusGenerator::write(Database &aDatabase, bool abBible,
                       const std::function<void(const Totals &)> &aProgress) const
{
    Totals vTotals;
    // A generated file is simply made again when a run breaks off, so it
    // needs neither the journal on disk nor waiting for the disk.
    aDatabase.execQuery(QStringLiteral("PRAGMA synchronous = OFF;"));
    aDatabase.execQuery(QStringLiteral("PRAGMA journal_mode = MEMORY;"));

    for (int i = 0; i < mcSermons.size() && vTotals.mbOk; ++i) {
        qint64 vnBytes = 0;
        const QStringList vcStatements = sermonStatements(i, &vnBytes);
        vTotals.mbOk = aDatabase.execQuery(vcStatements);
        ++vTotals.mnSermons;
        vTotals.mnParagraphs += vcStatements.size() - 1;
        vTotals.mnSermonBytes += vnBytes;
        if (aProgress)
            aProgress(vTotals);
    }
    for (int vnBook = 1; abBible && vnBook <= BibleBooks::count() && vTotals.mbOk; ++vnBook) {
        qint64 vnBytes = 0;
        const QStringList vcStatements = bookStatements(vnBook, &vnBytes);
        vTotals.mbOk = aDatabase.execQuery(vcStatements);
        ++vTotals.mnBooks;
        vTotals.mnChapters += chapterCount(vnBook);
        vTotals.mnVerses += vcStatements.size() - 1 - chapterCount(vnBook);
        vTotals.mnBibleBytes += vnBytes;
        if (aProgress)
            aProgress(vTotals);
    }
    if (vTotals.mbOk)
        vTotals.mbOk = aDatabase.compact();
    return vTotals;
}
