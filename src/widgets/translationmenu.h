#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

// The language menu of a page's translation button: one entry per configured
// data language ("TR_<code>"), each with a sub-menu of the translators that
// translated the shown sermon into that language. It only answers translator
// lists for its own entries: every page hears every list.
class TranslationMenu : public QObject
{
    Q_OBJECT

public:
    explicit TranslationMenu(QWidget *apParent);

    QMenu *menu() const { return mpMenu; }
    bool owns(QAction *apAction) const;

    // Builds the entry's state from the translators found for it: none
    // disables it, one is remembered (the current language's own translator
    // disables it), several become a sub-menu. On a Bible page only the
    // current data language is disabled.
    void useTranslatorList(const QStringList &acList, QAction *apLanguageAction, bool abBible,
                           const QString &asPageTranslator, const QString &asDataLanguage);

signals:
    // The menu opens: the page asks the data store for each entry's list.
    void translatorListsWanted(const QList<QAction *> &acLanguageActions);
    // The reader chose a translation.
    void translationChosen(const QString &asLocale, const QString &asTranslator);

private:
    void entryTriggered(QAction *apAction);

    QMenu *mpMenu = nullptr;
};
