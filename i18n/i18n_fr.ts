<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
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
            <translation>La base de données va être mise à jour ; le programme se fermera automatiquement</translation>
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
            <translation>Erreur</translation>
        </message>
        <message>
            <source>No file or Internet is not connected</source>
            <translation>Fichier introuvable ou pas de connexion à Internet</translation>
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
