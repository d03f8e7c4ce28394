<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
    <context>
        <name>Application</name>
        <message>
            <source>KVR</source>
            <translation>KVR</translation>
        </message>
        <message>
            <source>Quillmark</source>
            <translation>Quillmark</translation>
        </message>
        <message>
            <source>База будет обновлена, программа закроется автоматически</source>
            <translation>База будет обновлена, программа закроется автоматически</translation>
        </message>
        <message>
            <source>ru</source>
            <translation>ru</translation>
        </message>
    </context>
    <context>
        <name>Database</name>
        <message>
            <source>en</source>
            <translation>en</translation>
        </message>
    </context>
    <context>
        <name>DownloadManager</name>
        <message>
            <source>Error</source>
            <translation>Ошибка</translation>
        </message>
        <message>
            <source>No file or Internet is not connected</source>
            <translation>Файл не найден или нет подключения к Интернету</translation>
        </message>
    </context>
    <context>
        <name>HelpDialog</name>
        <message>
            <source>Help</source>
            <translation>Справка</translation>
        </message>
        <message>
            <source>Version: %0
Database last updated: %1</source>
            <translation>Версия: %0
База обновлена: %1</translation>
        </message>
        <message>
            <source>Quillmark</source>
            <translation>Quillmark</translation>
        </message>
    </context>
    <context>
        <name>MainWindow</name>
        <message>
            <source>Main toolbar</source>
            <translation>Основная панель</translation>
        </message>
        <message>
            <source>KVR</source>
            <translation>KVR</translation>
        </message>
        <message>
            <source>Sermons total: 0</source>
            <translation>Всего проповедей: 0</translation>
        </message>
        <message>
            <source>Language</source>
            <translation>Язык</translation>
        </message>
        <message>
            <source>Database</source>
            <translation>База данных</translation>
        </message>
        <message>
            <source>Interface</source>
            <translation>Интерфейс</translation>
        </message>
        <message>
            <source>About</source>
            <translation>О программе</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Справка</translation>
        </message>
        <message>
            <source>Tree toolbar</source>
            <translation>Панель дерева</translation>
        </message>
        <message>
            <source>Изменения вступят в силу при следующем запуске.</source>
            <translation>Изменения вступят в силу при следующем запуске.</translation>
        </message>
        <message>
            <source>Sermons total: %0 / %1</source>
            <translation>Всего проповедей: %0 / %1</translation>
        </message>
        <message>
            <source>distinguish capital and lower case letters</source>
            <translation>различать заглавные и строчные буквы</translation>
        </message>
        <message>
            <source>words can't be parts of words</source>
            <translation>слова не могут быть частями слов</translation>
        </message>
        <message>
            <source>look for the exact phrase</source>
            <translation>искать точную фразу</translation>
        </message>
        <message>
            <source>the required contains at least one word</source>
            <translation>искомое содержит хотя бы одно слово</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Искать</translation>
        </message>
        <message>
            <source>Search toolbar</source>
            <translation>Панель поиска</translation>
        </message>
        <message>
            <source>Service</source>
            <translation>Сервис</translation>
        </message>
        <message>
            <source>Settings</source>
            <translation>Настройки</translation>
        </message>
        <message>
            <source>Open documents</source>
            <translation>Открытые документы</translation>
        </message>
        <message>
            <source>Search options</source>
            <translation>Параметры поиска</translation>
        </message>
        <message>
            <source>find word forms</source>
            <translation>искать формы слова</translation>
        </message>
        <message>
            <source>Finds the other forms of each word too (нести: несёт, несут). Not with whole words, the exact phrase or capital letters.</source>
            <translation>Находит и другие формы каждого слова (нести: несёт, несут). Не действует вместе с целыми словами, точной фразой и различением заглавных букв.</translation>
        </message>
    </context>
    <context>
        <name>NavigationWidget</name>
        <message>
            <source>from</source>
            <translation>из</translation>
        </message>
        <message>
            <source>Previous page</source>
            <translation>Предыдущая страница</translation>
        </message>
        <message>
            <source>Next page</source>
            <translation>Следующая страница</translation>
        </message>
        <message>
            <source>Page</source>
            <translation>Страница</translation>
        </message>
        <message>
            <source>Goes to the page of results chosen</source>
            <translation>Переход к выбранной странице результатов</translation>
        </message>
        <message>
            <source>All results on one page</source>
            <translation>Все результаты на одной странице</translation>
        </message>
    </context>
    <context>
        <name>Player</name>
        <message>
            <source>Service not available</source>
            <translation>Служба недоступна</translation>
        </message>
        <message>
            <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
            <translation>У объекта QMediaPlayer нет действующей службы.
Проверьте, установлены ли модули мультимедиа.</translation>
        </message>
        <message>
            <source>Open Files</source>
            <translation>Открыть файлы</translation>
        </message>
        <message>
            <source>Loading...</source>
            <translation>Загрузка...</translation>
        </message>
        <message>
            <source>Media Stalled</source>
            <translation>Воспроизведение остановилось</translation>
        </message>
        <message>
            <source>Buffering %4%</source>
            <translation>Буферизация %4%</translation>
        </message>
        <message>
            <source>Position in the recording</source>
            <translation>Позиция в записи</translation>
        </message>
    </context>
    <context>
        <name>PlayerControls</name>
        <message>
            <source>Stop</source>
            <translation>Стоп</translation>
        </message>
        <message>
            <source>Pause</source>
            <translation>Пауза</translation>
        </message>
        <message>
            <source>Play</source>
            <translation>Воспроизвести</translation>
        </message>
    </context>
    <context>
        <name>SearchWidget</name>
        <message>
            <source>Search text is too short</source>
            <translation>Слишком короткий текст для поиска</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Поиск</translation>
        </message>
        <message>
            <source>Advanced search</source>
            <translation>Расширенный поиск</translation>
        </message>
        <message>
            <source>Search text</source>
            <translation>Текст для поиска</translation>
        </message>
        <message>
            <source>Words to find in the ticked documents; Enter starts the search</source>
            <translation>Слова для поиска в отмеченных документах; Enter запускает поиск</translation>
        </message>
        <message>
            <source>Shows the options of the search</source>
            <translation>Показывает параметры поиска</translation>
        </message>
        <message>
            <source>Search, with word forms</source>
            <translation>Поиск, с формами слов</translation>
        </message>
    </context>
    <context>
        <name>SettingsDialog</name>
        <message>
            <source>Nothing was imported: the data file could not take the texts. The data and the source files are as they were.</source>
            <translation>Ничего не импортировано: файл данных не смог принять тексты. Данные и исходные файлы остались прежними.</translation>
        </message>
        <message>
            <source>The %1 database already has a Bible; another one would mix with it. Choose &quot;Remove previous and insert again&quot; to replace it.</source>
            <translation>В базе %1 уже есть Библия; другая смешалась бы с ней. Выберите «Удалить прежние и добавить заново», чтобы заменить её.</translation>
        </message>
        <message>
            <source>Settings</source>
            <translation>Настройки</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>Apply</source>
            <translation>Применить</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Отмена</translation>
        </message>
        <message>
            <source>Font</source>
            <translation>Шрифт</translation>
        </message>
        <message>
            <source>Updating</source>
            <translation>Обновление</translation>
        </message>
        <message>
            <source>Style</source>
            <translation>Стиль</translation>
        </message>
        <message>
            <source>Convertor</source>
            <translation>Конвертер</translation>
        </message>
        <message>
            <source>Content</source>
            <translation>Содержимое</translation>
        </message>
        <message>
            <source>Font name</source>
            <translation>Название шрифта</translation>
        </message>
        <message>
            <source>Size</source>
            <translation>Размер</translation>
        </message>
        <message>
            <source>Note: The font will be changed only at new opened tabs (texts)</source>
            <translation>Примечание: шрифт изменится только во вновь открытых вкладках (текстах)</translation>
        </message>
        <message>
            <source>Style:</source>
            <translation>Стиль:</translation>
        </message>
        <message>
            <source>Style Sheet:</source>
            <translation>Таблица стилей:</translation>
        </message>
        <message>
            <source>Media</source>
            <translation>Медиа</translation>
        </message>
        <message>
            <source>Play sound directly</source>
            <translation>Воспроизводить звук напрямую</translation>
        </message>
        <message>
            <source>The style sheet could not be saved to %1.</source>
            <translation>Не удалось сохранить таблицу стилей в %1.</translation>
        </message>
        <message>
            <source>file
name</source>
            <translation>имя
файла</translation>
        </message>
        <message>
            <source>File</source>
            <translation>Файл</translation>
        </message>
        <message>
            <source>Current
 version</source>
            <translation>Текущая
 версия</translation>
        </message>
        <message>
            <source>Allow
 update</source>
            <translation>Разрешить
 обновление</translation>
        </message>
        <message>
            <source>Bible</source>
            <translation>Библия</translation>
        </message>
        <message>
            <source>Sermons</source>
            <translation>Проповеди</translation>
        </message>
        <message>
            <source>Select directory</source>
            <translation>Выбор папки</translation>
        </message>
        <message>
            <source>Select directory:</source>
            <translation>Выберите папку:</translation>
        </message>
        <message>
            <source>Quotes</source>
            <translation>Проповеди</translation>
        </message>
        <message>
            <source>Insert</source>
            <translation>Добавить</translation>
        </message>
        <message>
            <source>Remove previous and insert again</source>
            <translation>Удалить прежние и добавить заново</translation>
        </message>
        <message>
            <source>Imported information type</source>
            <translation>Тип импортируемых данных</translation>
        </message>
        <message>
            <source>File Name</source>
            <translation>Имя файла</translation>
        </message>
        <message>
            <source>Import type</source>
            <translation>Способ импорта</translation>
        </message>
        <message>
            <source>Import</source>
            <translation>Импорт</translation>
        </message>
        <message>
            <source>You didn&apos;t choose directory</source>
            <translation>Вы не выбрали папку</translation>
        </message>
        <message>
            <source>The folder %1 cannot be read; nothing was changed.</source>
            <translation>Папку %1 невозможно прочитать; ничего не изменено.</translation>
        </message>
        <message>
            <source>The folder %1 holds no source files (*.txt, *.sog); nothing was changed.</source>
            <translation>В папке %1 нет исходных файлов (*.txt, *.sog); ничего не изменено.</translation>
        </message>
        <message>
            <source>Merging the search index and compacting the file…</source>
            <translation>Поисковый индекс сливается, файл сжимается…</translation>
        </message>
        <message>
            <source>Import complete!</source>
            <translation>Импорт завершён!</translation>
        </message>
        <message>
            <source>Import complete, but some files could not be read or some statements failed; see the log.</source>
            <translation>Импорт завершён, но некоторые файлы не удалось прочитать или некоторые команды не выполнились; подробности в журнале.</translation>
        </message>
        <message>
            <source>Fonts</source>
            <translation>Шрифты</translation>
        </message>
        <message>
            <source>Sizes</source>
            <translation>Размеры</translation>
        </message>
        <message>
            <source>Style sheet</source>
            <translation>Таблица стилей</translation>
        </message>
        <message>
            <source>Style sheet text</source>
            <translation>Текст таблицы стилей</translation>
        </message>
        <message>
            <source>Apply saves the text and applies it</source>
            <translation>«Применить» сохраняет текст и применяет его</translation>
        </message>
        <message>
            <source>Allow updating %1</source>
            <translation>Разрешить обновление: %1</translation>
        </message>
        <message>
            <source>Data files</source>
            <translation>Файлы данных</translation>
        </message>
        <message>
            <source>Folder to import</source>
            <translation>Папка для импорта</translation>
        </message>
        <message>
            <source>Language of the imported texts</source>
            <translation>Язык импортируемых текстов</translation>
        </message>
        <message>
            <source>Files to import</source>
            <translation>Файлы для импорта</translation>
        </message>
        <message>
            <source>Select all rows</source>
            <translation>Выделить все строки</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Поиск</translation>
        </message>
        <message>
            <source>Find words spelled with ё when searching with е, and the other way round</source>
            <translation>Находить слова с буквой ё при поиске с е, и наоборот</translation>
        </message>
    </context>
    <context>
        <name>ShareDialog</name>
        <message>
            <source>Do you really want to share this quote?</source>
            <translation>Вы действительно хотите поделиться этой цитатой?</translation>
        </message>
        <message>
            <source>Quote</source>
            <translation>Цитата</translation>
        </message>
        <message>
            <source>Share link (paste into browser)</source>
            <translation>Ссылка (вставьте в браузер)</translation>
        </message>
        <message>
            <source>Yes</source>
            <translation>Да</translation>
        </message>
        <message>
            <source>No</source>
            <translation>Нет</translation>
        </message>
        <message>
            <source>Notice!</source>
            <translation>Внимание!</translation>
        </message>
    </context>
    <context>
        <name>SharedOptions</name>
        <message>
            <source>en</source>
            <translation>en</translation>
        </message>
        <message>
            <source>%1 is not the name of a PDF or MP3 file.</source>
            <translation>%1 — не имя файла PDF или MP3.</translation>
        </message>
        <message>
            <source>Another file is still being downloaded; try again when it is done.</source>
            <translation>Другой файл ещё загружается; повторите, когда загрузка закончится.</translation>
        </message>
        <message>
            <source>%1 is not in the folder %2, and the settings give no address to download it from (%3).</source>
            <translation>Файла %1 нет в папке %2, и в настройках не указан адрес для его загрузки (%3).</translation>
        </message>
    </context>
    <context>
        <name>TabArea</name>
        <message>
            <source>Nothing found</source>
            <translation>Ничего не найдено</translation>
        </message>
        <message>
            <source>%0 (found: %1)</source>
            <translation>%0 (найдено: %1)</translation>
        </message>
        <message>
            <source>Translation</source>
            <translation>Перевод</translation>
        </message>
        <message>
            <source>Copy</source>
            <translation>Копировать</translation>
        </message>
        <message>
            <source>Select all</source>
            <translation>Выделить всё</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Печать</translation>
        </message>
        <message>
            <source>Save</source>
            <translation>Сохранить</translation>
        </message>
        <message>
            <source>Context</source>
            <translation>Контекст</translation>
        </message>
        <message>
            <source>Play or pause the recording</source>
            <translation>Воспроизвести или приостановить запись</translation>
        </message>
        <message>
            <source>Hide Caption</source>
            <translation>Скрыть заголовки</translation>
        </message>
        <message>
            <source>Share</source>
            <translation>Поделиться</translation>
        </message>
        <message>
            <source>Share on Facebook</source>
            <translation>Поделиться в Facebook</translation>
        </message>
        <message>
            <source>Share on VK</source>
            <translation>Поделиться во ВКонтакте</translation>
        </message>
        <message>
            <source>Share on Google Plus</source>
            <translation>Поделиться в Google Plus</translation>
        </message>
        <message>
            <source>Share on Twitter</source>
            <translation>Поделиться в Twitter</translation>
        </message>
        <message>
            <source>Download pdf</source>
            <translation>Скачать pdf</translation>
        </message>
        <message>
            <source>Print the text and its translation side by side?</source>
            <translation>Напечатать текст и его перевод рядом?</translation>
        </message>
        <message>
            <source>Save the text and its translation one paragraph after the other?</source>
            <translation>Сохранить текст и его перевод, абзац за абзацем?</translation>
        </message>
        <message>
            <source>Save file</source>
            <translation>Сохранить файл</translation>
        </message>
        <message>
            <source>Text (*.txt)</source>
            <translation>Текст (*.txt)</translation>
        </message>
        <message>
            <source>The file %1 could not be written: %2</source>
            <translation>Не удалось записать файл %1: %2</translation>
        </message>
        <message>
            <source>No program to show PDF files was found. The file is %1</source>
            <translation>Не найдена программа для просмотра PDF. Файл: %1</translation>
        </message>
        <message>
            <source>Play the recording</source>
            <translation>Воспроизвести запись</translation>
        </message>
        <message>
            <source>Text</source>
            <translation>Текст</translation>
        </message>
    </context>
    <context>
        <name>ToolBar</name>
        <message>
            <source>Language selection</source>
            <translation>Выбор языка</translation>
        </message>
        <message>
            <source>Hide duplicates</source>
            <translation>Скрыть другие переводы</translation>
        </message>
        <message>
            <source>Show duplicates</source>
            <translation>Показывать другие переводы</translation>
        </message>
        <message>
            <source>Show tree</source>
            <translation>Показать дерево</translation>
        </message>
        <message>
            <source>Hide tree</source>
            <translation>Скрыть дерево</translation>
        </message>
        <message>
            <source>Messages by Year</source>
            <translation>Проповеди по годам</translation>
        </message>
        <message>
            <source>Messages by Name</source>
            <translation>Проповеди по названию</translation>
        </message>
        <message>
            <source>Bible</source>
            <translation>Библия</translation>
        </message>
        <message>
            <source>The language of the texts shown and searched</source>
            <translation>Язык показываемых текстов и поиска</translation>
        </message>
    </context>
    <context>
        <name>TreeView</name>
        <message>
            <source>Warning!</source>
            <translation>Внимание!</translation>
        </message>
        <message>
            <source>Nothing selected to export!</source>
            <translation>Ничего не выбрано для экспорта!</translation>
        </message>
        <message>
            <source>Nothing selected to delete!</source>
            <translation>Ничего не выбрано для удаления!</translation>
        </message>
        <message>
            <source>Collapse</source>
            <translation>Свернуть</translation>
        </message>
        <message>
            <source>Expand</source>
            <translation>Развернуть</translation>
        </message>
        <message>
            <source>Warning</source>
            <translation>Внимание</translation>
        </message>
        <message>
            <source>Export selected documents?</source>
            <translation>Экспортировать отмеченные документы?</translation>
        </message>
        <message>
            <source>Delete selected documents?</source>
            <translation>Удалить отмеченные документы?</translation>
        </message>
        <message>
            <source>Check all</source>
            <translation>Отметить все</translation>
        </message>
        <message>
            <source>Uncheck all</source>
            <translation>Снять все отметки</translation>
        </message>
        <message>
            <source>Check inverse</source>
            <translation>Инвертировать отметки</translation>
        </message>
        <message>
            <source>Export</source>
            <translation>Экспорт</translation>
        </message>
        <message>
            <source>Delete</source>
            <translation>Удалить</translation>
        </message>
        <message>
            <source>Catalogue</source>
            <translation>Каталог</translation>
        </message>
        <message>
            <source>Ticked documents are the ones searched; a double click opens a document</source>
            <translation>Поиск идёт по отмеченным документам; двойной щелчок открывает документ</translation>
        </message>
    </context>
    <context>
        <name>ImportSplashScreen</name>
        <message>
            <source>Import Data</source>
            <translation>Импорт данных</translation>
        </message>
        <message>
            <source>Import: %0 of %1</source>
            <translation>Импорт: %0 из %1</translation>
        </message>
    </context>
    <context>
        <name>UpdateDialog</name>
        <message>
            <source>Update</source>
            <translation>Обновить</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Отмена</translation>
        </message>
        <message>
            <source>Updating</source>
            <translation>Обновление</translation>
        </message>
        <message>
            <source>Progress</source>
            <translation>Ход</translation>
        </message>
        <message>
            <source>Downloading %0</source>
            <translation>Загрузка %0</translation>
        </message>
        <message>
            <source>Files to update</source>
            <translation>Файлы для обновления</translation>
        </message>
    </context>
    <context>
        <name>DocumentMaintenance</name>
        <message>
            <source>Information</source>
            <translation>Информация</translation>
        </message>
        <message>
            <source>Updates ready in file: %0.zip</source>
            <translation>Обновления готовы в файле: %0.zip</translation>
        </message>
        <message>
            <source>Warning!</source>
            <translation>Внимание!</translation>
        </message>
        <message>
            <source>Nothing selected to export!</source>
            <translation>Ничего не выбрано для экспорта!</translation>
        </message>
        <message>
            <source>Nothing selected to delete!</source>
            <translation>Ничего не выбрано для удаления!</translation>
        </message>
        <message>
            <source>Nothing was exported: the folder %0 cannot be written (%1).</source>
            <translation>Ничего не экспортировано: в папку %0 нельзя записать (%1).</translation>
        </message>
        <message>
            <source>Nothing was exported: the archive %0 could not be written (%1).</source>
            <translation>Ничего не экспортировано: архив %0 не удалось записать (%1).</translation>
        </message>
        <message>
            <source>Nothing was exported: the documents could not be read from the database (%0).</source>
            <translation>Ничего не экспортировано: документы не удалось прочитать из базы данных (%0).</translation>
        </message>
        <message>
            <source>Nothing was deleted: the database refused the change (%0).</source>
            <translation>Ничего не удалено: база данных отклонила изменение (%0).</translation>
        </message>
    </context>
    <context>
        <name>FileProblemText</name>
        <message>
            <source>The disk holding the data file %1 is full: nothing more could be written to it, and the file was left as it was. Make room on the disk, then try again.</source>
            <translation>Диск, на котором лежит файл данных %1, заполнен: записать в него больше ничего нельзя, файл оставлен как был. Освободите место на диске и попробуйте снова.</translation>
        </message>
        <message>
            <source>Data file</source>
            <translation>Файл данных</translation>
        </message>
        <message>
            <source>The data file %1 cannot be opened: a folder of that name stands in its place. Move the folder away or put the data file there.</source>
            <translation>Файл данных %1 не открывается: на его месте находится папка с тем же именем. Переместите папку или положите туда файл данных.</translation>
        </message>
        <message>
            <source>The data file %1 cannot be opened: it cannot be read with your permissions, or its disk does not answer.</source>
            <translation>Файл данных %1 не открывается: у вас нет прав на его чтение, или его диск не отвечает.</translation>
        </message>
        <message>
            <source>The file %1 is not a data file of this program. It was left as it is; put a good copy of the data file in its place.</source>
            <translation>Файл %1 не является файлом данных этой программы. Он оставлен как есть; положите на его место исправную копию файла данных.</translation>
        </message>
        <message>
            <source>The data file %1 is damaged: it is incomplete or partly overwritten. It was left as it is; put a good copy in its place, or delete it and download the texts again.</source>
            <translation>Файл данных %1 повреждён: он неполон или частично перезаписан. Он оставлен как есть; положите на его место исправную копию или удалите его и загрузите тексты заново.</translation>
        </message>
        <message>
            <source>The data file %1 is in use by another program. Close that program, then choose this language again.</source>
            <translation>Файл данных %1 занят другой программой. Закройте ту программу и снова выберите этот язык.</translation>
        </message>
        <message>
            <source>The data file %1 is write-protected: its texts can be read, but nothing can be added to it or removed from it.</source>
            <translation>Файл данных %1 защищён от записи: его тексты можно читать, но ничего нельзя в него добавить или из него удалить.</translation>
        </message>
    </context>
    <context>
        <name>TabWidget</name>
        <message>
            <source>Close %1</source>
            <translation>Закрыть «%1»</translation>
        </message>
    </context>
    <context>
        <name>HitChart</name>
        <message>
            <source>Hits per book</source>
            <translation>Найдено по книгам</translation>
        </message>
        <message>
            <source>Hits per year</source>
            <translation>Найдено по годам</translation>
        </message>
        <message>
            <source>%1: %2 of %3 hits</source>
            <translation>%1: %2 из %3</translation>
        </message>
        <message>
            <source>All books</source>
            <translation>Все книги</translation>
        </message>
        <message>
            <source>All years</source>
            <translation>Все годы</translation>
        </message>
        <message>
            <source>%1
%2 hits</source>
            <translation>%1
Найдено: %2</translation>
        </message>
        <message>
            <source>Enter shows only the hits of the bar chosen with the arrow keys; %1</source>
            <translation>Enter показывает только найденное в столбце, выбранном стрелками; %1</translation>
        </message>
    </context>
</TS>
