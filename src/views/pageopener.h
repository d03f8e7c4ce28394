#pragma once

#include <QString>

class TabArea;

// What a page shows for as long as it lives: sermons (catalogue kind by year
// or by title) or the Bible, and in which data language. A page takes it
// from what opened it (the tree, the search line, a hit of another page), not
// from whatever the catalogue shows later.
struct PageContext
{
    int mnKind = 0;     // a CatalogueTree kind
    QString msLanguage; // a data language code
};

// Opens a new document page: the tab container implements it. A null page
// means no page could be opened.
class PageOpener
{
public:
    virtual ~PageOpener() = default;
    virtual TabArea *openTab(const QString &asTitle, const PageContext &aContext) = 0;
    // Remembers on the page which sermon it shows.
    virtual void setDocumentId(TabArea *apPage, int anDocumentId) = 0;
};
