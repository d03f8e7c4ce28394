#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QToolButton;

// Moves a result page through its pages: back, "3 from 12", forward and a
// page list. In one-page mode it instead asks for the next chunk whenever the
// reader reaches the bottom of the text. Document pages hide it.
class NavigationWidget : public QWidget
{
    Q_OBJECT

public:
    NavigationWidget(int anMode, QWidget *parent = nullptr);

    void setPagesCount(int anValue);
    int pagesCount() const { return mnPagesCount; }
    int currentPage() const { return mnCurrentPage; }
    bool isOnePage() const;
    void setBackEnabled(bool abEnabled);
    void setForwardEnabled(bool abEnabled);
    void hideControls();
    QString labelText() const;
    // In one-page mode, asks for the next chunk while there is one.
    void loadNextChunk();
    // The previous or next page, as its button would go there; false when
    // the button is off or not shown.
    bool stepBack();
    bool stepForward();

signals:
    void currentPageChanged(int anCurrentPage, bool abOnePage);
    void onePageChanged(bool abOnePage);

public slots:
    void navigate();
    void pageSelected(int anPageIndex);

private slots:
    void activateOnePage(bool abOnePage);

protected:
    void changeEvent(QEvent *apEvent) override;

private:
    void refresh();
    void retranslate();
    static bool press(QToolButton *apButton);

    QToolButton *mpBackButton = nullptr;
    QToolButton *mpForwardButton = nullptr;
    QLabel *mpLabel = nullptr;
    QComboBox *mpPageCombo = nullptr;
    QToolButton *mpOnePageButton = nullptr;
    int mnPagesCount = -1;
    int mnSavedPagesCount = -1;
    int mnCurrentPage = 1;
    bool mbReady = false;
    int mnMode = 0;
};
