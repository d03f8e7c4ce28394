#pragma once

#include <QObject>
#include <QString>

// A quote the reader wants to share: the title of the page it comes from and
// the quoted text. The page fills one in and hands it to the share manager.
class ShareItem : public QObject
{
    Q_OBJECT

public:
    explicit ShareItem(const QString &asTitle = QString(), const QString &asText = QString(),
                       QObject *parent = nullptr);
    ~ShareItem() override;

    QString title() const { return msTitle; }
    void setTitle(const QString &asTitle);
    QString text() const { return msText; }
    void setText(const QString &asText);

private:
    QString msTitle;
    QString msText;
};
