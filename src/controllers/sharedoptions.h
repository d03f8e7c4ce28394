#pragma once

#include "controllers/downloadmanager.h"
#include "models/searchflags.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTranslator>

// Something that shows the progress of a media download (the audio player).
class DownloadProgressView
{
public:
    virtual ~DownloadProgressView() = default;
    virtual void showDownloadProgress(const QString &asPercent) = 0;
};

// The user options the whole program reads, the installed interface
// translation, the data-language switch, and the resolution of a sermon's PDF
// or MP3 file name into something that can be opened: a file in the media
// cache (downloaded on demand) or, for remote play, the file's URL.
class SharedOptions : public QObject
{
    Q_OBJECT

public:
    enum LanguageKind
    {
        Interface = 0,
        Data = 1
    };
    Q_ENUM(LanguageKind)

    explicit SharedOptions(QObject *parent = nullptr);
    ~SharedOptions() override;

    // The data language is switched on the data store at once, from the
    // calling thread: a caller may rely on the next statement running there.
    void setLanguage(const QString &asLocale, LanguageKind aKind);
    // The window's data-language switch: the data store follows on its own
    // thread, after every request the window made before, so the window
    // never waits for a running search.
    void switchDataLanguage(const QString &asLocale);

    // A local path, a remote URL, or empty (no URL configured, an unsafe name,
    // a failed download, or another media download still running). Blocks in
    // a local event loop while a file downloads, so the GUI keeps painting.
    QString mediaUrl(const QString &asFileName, DownloadProgressView *apPlayer);
    // Why the last mediaUrl() gave nothing, in words for the reader; empty
    // when it gave something, or when the failed download was reported already.
    QString mediaProblem() const { return msMediaProblem; }

    bool playRemote() const { return mbPlayRemote; }
    void setPlayRemote(bool abPlayRemote);
    int paragraphCount() const { return mnParagraphCount; }
    bool onePage() const { return mbOnePage; }
    int versesCount() const { return mnVersesCount; }
    bool bibleOnePage() const { return mbBibleOnePage; }
    QString dataLanguage() const { return msDataLanguage; }
    QString interfaceLanguage() const { return msInterfaceLanguage; }

    bool showDuplicates() const;
    void setShowDuplicates(bool abShow);
    // Whether searches take е and ё as one letter ("SearchYoAlike", on unless
    // turned off: Russian texts spell ё in some words and е in others).
    bool yoAlike() const;
    void setYoAlike(bool abAlike);
    // The modifiers every search of the window and the tool starts with.
    AdvancedSearchFlags searchModifiers() const;
    QString databaseLastUpdated();
    void setDatabaseLastUpdated();

    // The text shown for a download's progress: the percentage right-justified
    // to four places, or the received size in KiB when the total is unknown.
    static QString progressText(qint64 anReceived, qint64 anTotal);

    // Whether a file name taken from the database may be joined to the media
    // folder: a plain file name (see FileName::isPlain).
    static bool isSafeMediaName(const QString &asFileName);

private slots:
    void downloadProgress(qint64 anReceived, qint64 anTotal);

private:
    QString msInterfaceLanguage;
    QString msDataLanguage;
    QString msMediaProblem;
    bool mbPlayRemote = false;
    int mnParagraphCount = 20;
    bool mbOnePage = false;
    int mnVersesCount = 20;
    bool mbBibleOnePage = false;
    DownloadManager mDownloadManager;
    DownloadProgressView *mpPlayer = nullptr;
    QPointer<QObject> mpPlayerObject;
    QTranslator mTranslator;
};
