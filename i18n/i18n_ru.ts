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
        <name>SharedOptions</name>
        <message>
            <source>en</source>
            <translation>en</translation>
        </message>
    </context>
</TS>
