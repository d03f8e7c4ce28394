#include "biblebooks.h"

namespace BibleBooks {

namespace {

// The 66 books in western order with their chapter and verse totals.
const BookInfo cBooks[] = {
    {"Genesis", "Genèse", "Бытие", 50, 1533},
    {"Exodus", "Exode", "Исход", 40, 1213},
    {"Leviticus", "Lévitique", "Левит", 27, 859},
    {"Numbers", "Nombres", "Числа", 36, 1288},
    {"Deuteronomy", "Deutéronome", "Второзаконие", 34, 959},
    {"Joshua", "Josué", "Иисус Навин", 24, 658},
    {"Judges", "Juges", "Судьи", 21, 618},
    {"Ruth", "Ruth", "Руфь", 4, 85},
    {"1 Samuel", "1 Samuel", "1 Царств", 31, 810},
    {"2 Samuel", "2 Samuel", "2 Царств", 24, 695},
    {"1 Kings", "1 Rois", "3 Царств", 22, 816},
    {"2 Kings", "2 Rois", "4 Царств", 25, 719},
    {"1 Chronicles", "1 Chroniques", "1 Паралипоменон", 29, 942},
    {"2 Chronicles", "2 Chroniques", "2 Паралипоменон", 36, 822},
    {"Ezra", "Esdras", "Ездра", 10, 280},
    {"Nehemiah", "Néhémie", "Неемия", 13, 406},
    {"Esther", "Esther", "Есфирь", 10, 167},
    {"Job", "Job", "Иов", 42, 1070},
    {"Psalms", "Psaumes", "Псалтирь", 150, 2461},
    {"Proverbs", "Proverbes", "Притчи", 31, 915},
    {"Ecclesiastes", "Ecclésiaste", "Екклесиаст", 12, 222},
    {"Song of Solomon", "Cantique des cantiques", "Песнь песней", 8, 117},
    {"Isaiah", "Ésaïe", "Исаия", 66, 1292},
    {"Jeremiah", "Jérémie", "Иеремия", 52, 1364},
    {"Lamentations", "Lamentations", "Плач Иеремии", 5, 154},
    {"Ezekiel", "Ézéchiel", "Иезекииль", 48, 1273},
    {"Daniel", "Daniel", "Даниил", 12, 357},
    {"Hosea", "Osée", "Осия", 14, 197},
    {"Joel", "Joël", "Иоиль", 3, 73},
    {"Amos", "Amos", "Амос", 9, 146},
    {"Obadiah", "Abdias", "Авдий", 1, 21},
    {"Jonah", "Jonas", "Иона", 4, 48},
    {"Micah", "Michée", "Михей", 7, 105},
    {"Nahum", "Nahum", "Наум", 3, 47},
    {"Habakkuk", "Habacuc", "Аввакум", 3, 56},
    {"Zephaniah", "Sophonie", "Софония", 3, 53},
    {"Haggai", "Aggée", "Аггей", 2, 38},
    {"Zechariah", "Zacharie", "Захария", 14, 211},
    {"Malachi", "Malachie", "Малахия", 4, 55},
    {"Matthew", "Matthieu", "От Матфея", 28, 1071},
    {"Mark", "Marc", "От Марка", 16, 678},
    {"Luke", "Luc", "От Луки", 24, 1151},
    {"John", "Jean", "От Иоанна", 21, 879},
    {"Acts", "Actes", "Деяния", 28, 1007},
    {"Romans", "Romains", "Римлянам", 16, 433},
    {"1 Corinthians", "1 Corinthiens", "1 Коринфянам", 16, 437},
    {"2 Corinthians", "2 Corinthiens", "2 Коринфянам", 13, 257},
    {"Galatians", "Galates", "Галатам", 6, 149},
    {"Ephesians", "Éphésiens", "Ефесянам", 6, 155},
    {"Philippians", "Philippiens", "Филиппийцам", 4, 104},
    {"Colossians", "Colossiens", "Колоссянам", 4, 95},
    {"1 Thessalonians", "1 Thessaloniciens", "1 Фессалоникийцам", 5, 89},
    {"2 Thessalonians", "2 Thessaloniciens", "2 Фессалоникийцам", 3, 47},
    {"1 Timothy", "1 Timothée", "1 Тимофею", 6, 113},
    {"2 Timothy", "2 Timothée", "2 Тимофею", 4, 83},
    {"Titus", "Tite", "Титу", 3, 46},
    {"Philemon", "Philémon", "Филимону", 1, 25},
    {"Hebrews", "Hébreux", "Евреям", 13, 303},
    {"James", "Jacques", "Иакова", 5, 108},
    {"1 Peter", "1 Pierre", "1 Петра", 5, 105},
    {"2 Peter", "2 Pierre", "2 Петра", 3, 61},
    {"1 John", "1 Jean", "1 Иоанна", 5, 105},
    {"2 John", "2 Jean", "2 Иоанна", 1, 13},
    {"3 John", "3 Jean", "3 Иоанна", 1, 14},
    {"Jude", "Jude", "Иуды", 1, 25},
    {"Revelation", "Apocalypse", "Откровение", 22, 404},
};

} // namespace

int count()
{
    return int(sizeof(cBooks) / sizeof(cBooks[0]));
}

const BookInfo &book(int anWestern)
{
    return cBooks[anWestern - 1];
}

int westernBook(int anBook, bool abRussian)
{
    if (!abRussian || anBook < 45 || anBook > 65)
        return anBook;
    return anBook <= 51 ? anBook + 14 : anBook - 7;
}

} // namespace BibleBooks
