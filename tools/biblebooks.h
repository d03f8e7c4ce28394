#pragma once

// The 66 books of the Bible in western order, with their names in the three
// data languages and their chapter and verse totals, as the corpus generator
// lays out a Bible of the right shape.
namespace BibleBooks {

struct BookInfo
{
    const char *english;
    const char *french;
    const char *russian;
    int chapters;
    int verses;
};

int count();
// anWestern 1-66.
const BookInfo &book(int anWestern);
// The western number of book anBook of a Bible in the Russian order (which
// puts the general epistles before the Pauline ones) or the western order.
int westernBook(int anBook, bool abRussian);
const int cnPsalms = 19; // western number

} // namespace BibleBooks
