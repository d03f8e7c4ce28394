#include "controllers/shareitem.h"

ShareItem::ShareItem(const QString &asTitle, const QString &asText, QObject *parent)
    : QObject(parent), msTitle(asTitle), msText(asText)
{
}

ShareItem::~ShareItem() = default;

void ShareItem::setTitle(const QString &asTitle)
{
    msTitle = asTitle;
}

void ShareItem::setText(const QString &asText)
{
    msText = asText;
}
