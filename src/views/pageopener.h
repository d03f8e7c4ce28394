#pragma once

#include <QString>

class TabArea;

// Opens a new document page for the catalogue: the tab container implements
// it. A null page means no page could be opened.
class PageOpener
{
public:
    virtual ~PageOpener() = default;
    virtual TabArea *openTab(const QString &asTitle) = 0;
    // Remembers on the page which sermon it shows.
    virtual void setDocumentId(TabArea *apPage, int anDocumentId) = 0;
};
