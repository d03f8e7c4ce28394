#include "widgets/sharedialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

ShareDialog::ShareDialog(QWidget *parent)
    : QDialog(parent), mpQuote(new QTextEdit(this)), mpLink(new QLineEdit(this))
{
    setWindowTitle(tr("Notice!"));
    setMaximumSize(400, 300);

    auto *vpQuoteBox = new QGroupBox(tr("Quote"), this);
    auto *vpQuoteLayout = new QVBoxLayout(vpQuoteBox);
    vpQuoteLayout->addWidget(mpQuote);
    mpQuote->setObjectName(QStringLiteral("vpQuote"));
    mpQuote->setReadOnly(true);
    mpQuote->setAcceptRichText(false);

    mpLink->setObjectName(QStringLiteral("vpLink"));
    mpLink->setReadOnly(true);
    mpLink->setText(QStringLiteral("https://example.org/share"));

    auto *vpYes = new QPushButton(tr("Yes"), this);
    auto *vpNo = new QPushButton(tr("No"), this);
    vpYes->setObjectName(QStringLiteral("vpYes"));
    vpNo->setObjectName(QStringLiteral("vpNo"));
    vpYes->setDefault(true);
    connect(vpYes, &QPushButton::clicked, this, &ShareDialog::accept);
    connect(vpNo, &QPushButton::clicked, this, &ShareDialog::reject);

    auto *vpLayout = new QGridLayout(this);
    vpLayout->addWidget(new QLabel(tr("Do you really want to share this quote?"), this), 0, 0, 1,
                        5);
    vpLayout->addWidget(vpQuoteBox, 1, 0, 1, 5);
    vpLayout->addWidget(new QLabel(tr("Share link (paste into browser)"), this), 2, 0, 1, 5);
    vpLayout->addWidget(mpLink, 3, 0, 1, 5);
    vpLayout->addWidget(vpYes, 4, 1);
    vpLayout->addWidget(vpNo, 4, 3);
    // The empty columns around and between the buttons share the spare width,
    // so the two buttons sit evenly apart.
    for (int vnColumn : {0, 2, 4})
        vpLayout->setColumnStretch(vnColumn, 1);
    // The quote takes whatever height is left.
    vpLayout->setRowStretch(1, 1);
}

ShareDialog::~ShareDialog() = default;

void ShareDialog::setText(const QString &asText)
{
    mpQuote->setPlainText(asText);
}

void ShareDialog::setUrl(const QUrl &aUrl)
{
    mpLink->setText(aUrl.toString(QUrl::FullyEncoded));
    // A long link shows its beginning, the service's address.
    mpLink->setCursorPosition(0);
}
