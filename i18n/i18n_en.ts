<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
            <translation>The database will be updated; the program will close automatically</translation>
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
            <translation>Error</translation>
        </message>
        <message>
            <source>No file or Internet is not connected</source>
            <translation>No file or Internet is not connected</translation>
        </message>
    </context>
    <context>
        <name>HelpDialog</name>
        <message>
            <source>Help</source>
            <translation>Help</translation>
        </message>
        <message>
            <source>Version: %0
Database last updated: %1</source>
            <translation>Version: %0
Database last updated: %1</translation>
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
            <translation>Main toolbar</translation>
        </message>
        <message>
            <source>KVR</source>
            <translation>KVR</translation>
        </message>
        <message>
            <source>Sermons total: 0</source>
            <translation>Sermons total: 0</translation>
        </message>
        <message>
            <source>Language</source>
            <translation>Language</translation>
        </message>
        <message>
            <source>Database</source>
            <translation>Database</translation>
        </message>
        <message>
            <source>Interface</source>
            <translation>Interface</translation>
        </message>
        <message>
            <source>About</source>
            <translation>About</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Help</translation>
        </message>
        <message>
            <source>Tree toolbar</source>
            <translation>Tree toolbar</translation>
        </message>
        <message>
            <source>Изменения вступят в силу при следующем запуске.</source>
            <translation>The change takes effect the next time the program starts.</translation>
        </message>
        <message>
            <source>Sermons total: %0 / %1</source>
            <translation>Sermons total: %0 / %1</translation>
        </message>
        <message>
            <source>distinguish capital and lower case letters</source>
            <translation>distinguish capital and lower case letters</translation>
        </message>
        <message>
            <source>words can't be parts of words</source>
            <translation>words can't be parts of words</translation>
        </message>
        <message>
            <source>look for the exact phrase</source>
            <translation>look for the exact phrase</translation>
        </message>
        <message>
            <source>the required contains at least one word</source>
            <translation>the required contains at least one word</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Search</translation>
        </message>
        <message>
            <source>Search toolbar</source>
            <translation>Search toolbar</translation>
        </message>
        <message>
            <source>Service</source>
            <translation>Service</translation>
        </message>
        <message>
            <source>Settings</source>
            <translation>Settings</translation>
        </message>
        <message>
            <source>Open documents</source>
            <translation>Open documents</translation>
        </message>
        <message>
            <source>Search options</source>
            <translation>Search options</translation>
        </message>
        <message>
            <source>find word forms</source>
            <translation>find word forms</translation>
        </message>
        <message>
            <source>Finds the other forms of each word too (нести: несёт, несут). Not with whole words, the exact phrase or capital letters.</source>
            <translation>Finds the other forms of each word too (нести: несёт, несут). Not with whole words, the exact phrase or capital letters.</translation>
        </message>
    </context>
    <context>
        <name>NavigationWidget</name>
        <message>
            <source>from</source>
            <translation>from</translation>
        </message>
        <message>
            <source>Previous page</source>
            <translation>Previous page</translation>
        </message>
        <message>
            <source>Next page</source>
            <translation>Next page</translation>
        </message>
        <message>
            <source>Page</source>
            <translation>Page</translation>
        </message>
        <message>
            <source>Goes to the page of results chosen</source>
            <translation>Goes to the page of results chosen</translation>
        </message>
        <message>
            <source>All results on one page</source>
            <translation>All results on one page</translation>
        </message>
    </context>
    <context>
        <name>Player</name>
        <message>
            <source>Service not available</source>
            <translation>Service not available</translation>
        </message>
        <message>
            <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
            <translation>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</translation>
        </message>
        <message>
            <source>Open Files</source>
            <translation>Open Files</translation>
        </message>
        <message>
            <source>Loading...</source>
            <translation>Loading...</translation>
        </message>
        <message>
            <source>Media Stalled</source>
            <translation>Media Stalled</translation>
        </message>
        <message>
            <source>Buffering %4%</source>
            <translation>Buffering %4%</translation>
        </message>
        <message>
            <source>Position in the recording</source>
            <translation>Position in the recording</translation>
        </message>
    </context>
    <context>
        <name>PlayerControls</name>
        <message>
            <source>Stop</source>
            <translation>Stop</translation>
        </message>
        <message>
            <source>Pause</source>
            <translation>Pause</translation>
        </message>
        <message>
            <source>Play</source>
            <translation>Play</translation>
        </message>
    </context>
    <context>
        <name>SearchWidget</name>
        <message>
            <source>Search text is too short</source>
            <translation>Search text is too short</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Search</translation>
        </message>
        <message>
            <source>Advanced search</source>
            <translation>Advanced search</translation>
        </message>
        <message>
            <source>Search text</source>
            <translation>Search text</translation>
        </message>
        <message>
            <source>Words to find in the ticked documents; Enter starts the search</source>
            <translation>Words to find in the ticked documents; Enter starts the search</translation>
        </message>
        <message>
            <source>Shows the options of the search</source>
            <translation>Shows the options of the search</translation>
        </message>
        <message>
            <source>Search, with word forms</source>
            <translation>Search, with word forms</translation>
        </message>
    </context>
    <context>
        <name>SettingsDialog</name>
        <message>
            <source>Nothing was imported: the data file could not take the texts. The data and the source files are as they were.</source>
            <translation>Nothing was imported: the data file could not take the texts. The data and the source files are as they were.</translation>
        </message>
        <message>
            <source>The %1 database already has a Bible; another one would mix with it. Choose &quot;Remove previous and insert again&quot; to replace it.</source>
            <translation>The %1 database already has a Bible; another one would mix with it. Choose &quot;Remove previous and insert again&quot; to replace it.</translation>
        </message>
        <message>
            <source>Settings</source>
            <translation>Settings</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>Apply</source>
            <translation>Apply</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>Font</source>
            <translation>Font</translation>
        </message>
        <message>
            <source>Updating</source>
            <translation>Updating</translation>
        </message>
        <message>
            <source>Style</source>
            <translation>Style</translation>
        </message>
        <message>
            <source>Convertor</source>
            <translation>Convertor</translation>
        </message>
        <message>
            <source>Content</source>
            <translation>Content</translation>
        </message>
        <message>
            <source>Font name</source>
            <translation>Font name</translation>
        </message>
        <message>
            <source>Size</source>
            <translation>Size</translation>
        </message>
        <message>
            <source>Note: The font will be changed only at new opened tabs (texts)</source>
            <translation>Note: The font will be changed only at new opened tabs (texts)</translation>
        </message>
        <message>
            <source>Style:</source>
            <translation>Style:</translation>
        </message>
        <message>
            <source>Style Sheet:</source>
            <translation>Style Sheet:</translation>
        </message>
        <message>
            <source>Media</source>
            <translation>Media</translation>
        </message>
        <message>
            <source>Play sound directly</source>
            <translation>Play sound directly</translation>
        </message>
        <message>
            <source>The style sheet could not be saved to %1.</source>
            <translation>The style sheet could not be saved to %1.</translation>
        </message>
        <message>
            <source>file
name</source>
            <translation>file
name</translation>
        </message>
        <message>
            <source>File</source>
            <translation>File</translation>
        </message>
        <message>
            <source>Current
 version</source>
            <translation>Current
 version</translation>
        </message>
        <message>
            <source>Allow
 update</source>
            <translation>Allow
 update</translation>
        </message>
        <message>
            <source>Bible</source>
            <translation>Bible</translation>
        </message>
        <message>
            <source>Sermons</source>
            <translation>Sermons</translation>
        </message>
        <message>
            <source>Select directory</source>
            <translation>Select directory</translation>
        </message>
        <message>
            <source>Select directory:</source>
            <translation>Select directory:</translation>
        </message>
        <message>
            <source>Quotes</source>
            <translation>Quotes</translation>
        </message>
        <message>
            <source>Insert</source>
            <translation>Insert</translation>
        </message>
        <message>
            <source>Remove previous and insert again</source>
            <translation>Remove previous and insert again</translation>
        </message>
        <message>
            <source>Imported information type</source>
            <translation>Imported information type</translation>
        </message>
        <message>
            <source>File Name</source>
            <translation>File Name</translation>
        </message>
        <message>
            <source>Import type</source>
            <translation>Import type</translation>
        </message>
        <message>
            <source>Import</source>
            <translation>Import</translation>
        </message>
        <message>
            <source>You didn&apos;t choose directory</source>
            <translation>You didn&apos;t choose directory</translation>
        </message>
        <message>
            <source>The folder %1 cannot be read; nothing was changed.</source>
            <translation>The folder %1 cannot be read; nothing was changed.</translation>
        </message>
        <message>
            <source>The folder %1 holds no source files (*.txt, *.sog); nothing was changed.</source>
            <translation>The folder %1 holds no source files (*.txt, *.sog); nothing was changed.</translation>
        </message>
        <message>
            <source>Merging the search index and compacting the file…</source>
            <translation>Merging the search index and compacting the file…</translation>
        </message>
        <message>
            <source>Import complete!</source>
            <translation>Import complete!</translation>
        </message>
        <message>
            <source>Import complete, but some files could not be read or some statements failed; see the log.</source>
            <translation>Import complete, but some files could not be read or some statements failed; see the log.</translation>
        </message>
        <message>
            <source>Fonts</source>
            <translation>Fonts</translation>
        </message>
        <message>
            <source>Sizes</source>
            <translation>Sizes</translation>
        </message>
        <message>
            <source>Style sheet</source>
            <translation>Style sheet</translation>
        </message>
        <message>
            <source>Style sheet text</source>
            <translation>Style sheet text</translation>
        </message>
        <message>
            <source>Apply saves the text and applies it</source>
            <translation>Apply saves the text and applies it</translation>
        </message>
        <message>
            <source>Allow updating %1</source>
            <translation>Allow updating %1</translation>
        </message>
        <message>
            <source>Data files</source>
            <translation>Data files</translation>
        </message>
        <message>
            <source>Folder to import</source>
            <translation>Folder to import</translation>
        </message>
        <message>
            <source>Language of the imported texts</source>
            <translation>Language of the imported texts</translation>
        </message>
        <message>
            <source>Files to import</source>
            <translation>Files to import</translation>
        </message>
        <message>
            <source>Select all rows</source>
            <translation>Select all rows</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Search</translation>
        </message>
        <message>
            <source>Find words spelled with ё when searching with е, and the other way round</source>
            <translation>Find words spelled with ё when searching with е, and the other way round</translation>
        </message>
    </context>
    <context>
        <name>ShareDialog</name>
        <message>
            <source>Do you really want to share this quote?</source>
            <translation>Do you really want to share this quote?</translation>
        </message>
        <message>
            <source>Quote</source>
            <translation>Quote</translation>
        </message>
        <message>
            <source>Share link (paste into browser)</source>
            <translation>Share link (paste into browser)</translation>
        </message>
        <message>
            <source>Yes</source>
            <translation>Yes</translation>
        </message>
        <message>
            <source>No</source>
            <translation>No</translation>
        </message>
        <message>
            <source>Notice!</source>
            <translation>Notice!</translation>
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
            <translation>%1 is not the name of a PDF or MP3 file.</translation>
        </message>
        <message>
            <source>Another file is still being downloaded; try again when it is done.</source>
            <translation>Another file is still being downloaded; try again when it is done.</translation>
        </message>
        <message>
            <source>%1 is not in the folder %2, and the settings give no address to download it from (%3).</source>
            <translation>%1 is not in the folder %2, and the settings give no address to download it from (%3).</translation>
        </message>
    </context>
    <context>
        <name>TabArea</name>
        <message>
            <source>Nothing found</source>
            <translation>Nothing found</translation>
        </message>
        <message>
            <source>%0 (found: %1)</source>
            <translation>%0 (found: %1)</translation>
        </message>
        <message>
            <source>Translation</source>
            <translation>Translation</translation>
        </message>
        <message>
            <source>Copy</source>
            <translation>Copy</translation>
        </message>
        <message>
            <source>Select all</source>
            <translation>Select all</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Print</translation>
        </message>
        <message>
            <source>Save</source>
            <translation>Save</translation>
        </message>
        <message>
            <source>Context</source>
            <translation>Context</translation>
        </message>
        <message>
            <source>Play or pause the recording</source>
            <translation>Play or pause the recording</translation>
        </message>
        <message>
            <source>Hide Caption</source>
            <translation>Hide Caption</translation>
        </message>
        <message>
            <source>Share</source>
            <translation>Share</translation>
        </message>
        <message>
            <source>Share on Facebook</source>
            <translation>Share on Facebook</translation>
        </message>
        <message>
            <source>Share on VK</source>
            <translation>Share on VK</translation>
        </message>
        <message>
            <source>Share on Google Plus</source>
            <translation>Share on Google Plus</translation>
        </message>
        <message>
            <source>Share on Twitter</source>
            <translation>Share on Twitter</translation>
        </message>
        <message>
            <source>Download pdf</source>
            <translation>Download pdf</translation>
        </message>
        <message>
            <source>Print the text and its translation side by side?</source>
            <translation>Print the text and its translation side by side?</translation>
        </message>
        <message>
            <source>Save the text and its translation one paragraph after the other?</source>
            <translation>Save the text and its translation one paragraph after the other?</translation>
        </message>
        <message>
            <source>Save file</source>
            <translation>Save file</translation>
        </message>
        <message>
            <source>Text (*.txt)</source>
            <translation>Text (*.txt)</translation>
        </message>
        <message>
            <source>The file %1 could not be written: %2</source>
            <translation>The file %1 could not be written: %2</translation>
        </message>
        <message>
            <source>No program to show PDF files was found. The file is %1</source>
            <translation>No program to show PDF files was found. The file is %1</translation>
        </message>
        <message>
            <source>Play the recording</source>
            <translation>Play the recording</translation>
        </message>
        <message>
            <source>Text</source>
            <translation>Text</translation>
        </message>
    </context>
    <context>
        <name>ToolBar</name>
        <message>
            <source>Language selection</source>
            <translation>Language selection</translation>
        </message>
        <message>
            <source>Hide duplicates</source>
            <translation>Hide duplicates</translation>
        </message>
        <message>
            <source>Show duplicates</source>
            <translation>Show duplicates</translation>
        </message>
        <message>
            <source>Show tree</source>
            <translation>Show tree</translation>
        </message>
        <message>
            <source>Hide tree</source>
            <translation>Hide tree</translation>
        </message>
        <message>
            <source>Messages by Year</source>
            <translation>Messages by Year</translation>
        </message>
        <message>
            <source>Messages by Name</source>
            <translation>Messages by Name</translation>
        </message>
        <message>
            <source>Bible</source>
            <translation>Bible</translation>
        </message>
        <message>
            <source>The language of the texts shown and searched</source>
            <translation>The language of the texts shown and searched</translation>
        </message>
    </context>
    <context>
        <name>TreeView</name>
        <message>
            <source>Warning!</source>
            <translation>Warning!</translation>
        </message>
        <message>
            <source>Nothing selected to export!</source>
            <translation>Nothing selected to export!</translation>
        </message>
        <message>
            <source>Nothing selected to delete!</source>
            <translation>Nothing selected to delete!</translation>
        </message>
        <message>
            <source>Collapse</source>
            <translation>Collapse</translation>
        </message>
        <message>
            <source>Expand</source>
            <translation>Expand</translation>
        </message>
        <message>
            <source>Warning</source>
            <translation>Warning</translation>
        </message>
        <message>
            <source>Export selected documents?</source>
            <translation>Export selected documents?</translation>
        </message>
        <message>
            <source>Delete selected documents?</source>
            <translation>Delete selected documents?</translation>
        </message>
        <message>
            <source>Check all</source>
            <translation>Check all</translation>
        </message>
        <message>
            <source>Uncheck all</source>
            <translation>Uncheck all</translation>
        </message>
        <message>
            <source>Check inverse</source>
            <translation>Check inverse</translation>
        </message>
        <message>
            <source>Export</source>
            <translation>Export</translation>
        </message>
        <message>
            <source>Delete</source>
            <translation>Delete</translation>
        </message>
        <message>
            <source>Catalogue</source>
            <translation>Catalogue</translation>
        </message>
        <message>
            <source>Ticked documents are the ones searched; a double click opens a document</source>
            <translation>Ticked documents are the ones searched; a double click opens a document</translation>
        </message>
    </context>
    <context>
        <name>ImportSplashScreen</name>
        <message>
            <source>Import Data</source>
            <translation>Import Data</translation>
        </message>
        <message>
            <source>Import: %0 of %1</source>
            <translation>Import: %0 of %1</translation>
        </message>
    </context>
    <context>
        <name>UpdateDialog</name>
        <message>
            <source>Update</source>
            <translation>Update</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>Updating</source>
            <translation>Updating</translation>
        </message>
        <message>
            <source>Progress</source>
            <translation>Progress</translation>
        </message>
        <message>
            <source>Downloading %0</source>
            <translation>Downloading %0</translation>
        </message>
        <message>
            <source>Files to update</source>
            <translation>Files to update</translation>
        </message>
    </context>
    <context>
        <name>DocumentMaintenance</name>
        <message>
            <source>Information</source>
            <translation>Information</translation>
        </message>
        <message>
            <source>Updates ready in file: %0.zip</source>
            <translation>Updates ready in file: %0.zip</translation>
        </message>
        <message>
            <source>Warning!</source>
            <translation>Warning!</translation>
        </message>
        <message>
            <source>Nothing selected to export!</source>
            <translation>Nothing selected to export!</translation>
        </message>
        <message>
            <source>Nothing selected to delete!</source>
            <translation>Nothing selected to delete!</translation>
        </message>
        <message>
            <source>Nothing was exported: the folder %0 cannot be written (%1).</source>
            <translation>Nothing was exported: the folder %0 cannot be written (%1).</translation>
        </message>
        <message>
            <source>Nothing was exported: the archive %0 could not be written (%1).</source>
            <translation>Nothing was exported: the archive %0 could not be written (%1).</translation>
        </message>
        <message>
            <source>Nothing was exported: the documents could not be read from the database (%0).</source>
            <translation>Nothing was exported: the documents could not be read from the database (%0).</translation>
        </message>
        <message>
            <source>Nothing was deleted: the database refused the change (%0).</source>
            <translation>Nothing was deleted: the database refused the change (%0).</translation>
        </message>
    </context>
    <context>
        <name>FileProblemText</name>
        <message>
            <source>The disk holding the data file %1 is full: nothing more could be written to it, and the file was left as it was. Make room on the disk, then try again.</source>
            <translation>The disk holding the data file %1 is full: nothing more could be written to it, and the file was left as it was. Make room on the disk, then try again.</translation>
        </message>
        <message>
            <source>Data file</source>
            <translation>Data file</translation>
        </message>
        <message>
            <source>The data file %1 cannot be opened: a folder of that name stands in its place. Move the folder away or put the data file there.</source>
            <translation>The data file %1 cannot be opened: a folder of that name stands in its place. Move the folder away or put the data file there.</translation>
        </message>
        <message>
            <source>The data file %1 cannot be opened: it cannot be read with your permissions, or its disk does not answer.</source>
            <translation>The data file %1 cannot be opened: it cannot be read with your permissions, or its disk does not answer.</translation>
        </message>
        <message>
            <source>The file %1 is not a data file of this program. It was left as it is; put a good copy of the data file in its place.</source>
            <translation>The file %1 is not a data file of this program. It was left as it is; put a good copy of the data file in its place.</translation>
        </message>
        <message>
            <source>The data file %1 is damaged: it is incomplete or partly overwritten. It was left as it is; put a good copy in its place, or delete it and download the texts again.</source>
            <translation>The data file %1 is damaged: it is incomplete or partly overwritten. It was left as it is; put a good copy in its place, or delete it and download the texts again.</translation>
        </message>
        <message>
            <source>The data file %1 is in use by another program. Close that program, then choose this language again.</source>
            <translation>The data file %1 is in use by another program. Close that program, then choose this language again.</translation>
        </message>
        <message>
            <source>The data file %1 is write-protected: its texts can be read, but nothing can be added to it or removed from it.</source>
            <translation>The data file %1 is write-protected: its texts can be read, but nothing can be added to it or removed from it.</translation>
        </message>
    </context>
    <context>
        <name>TabWidget</name>
        <message>
            <source>Close %1</source>
            <translation>Close %1</translation>
        </message>
    </context>
    <context>
        <name>HitChart</name>
        <message>
            <source>Hits per book</source>
            <translation>Hits per book</translation>
        </message>
        <message>
            <source>Hits per year</source>
            <translation>Hits per year</translation>
        </message>
        <message>
            <source>%1: %2 of %3 hits</source>
            <translation>%1: %2 of %3 hits</translation>
        </message>
        <message>
            <source>All books</source>
            <translation>All books</translation>
        </message>
        <message>
            <source>All years</source>
            <translation>All years</translation>
        </message>
        <message>
            <source>%1
%2 hits</source>
            <translation>%1
%2 hits</translation>
        </message>
        <message>
            <source>Enter shows only the hits of the bar chosen with the arrow keys; %1</source>
            <translation>Enter shows only the hits of the bar chosen with the arrow keys; %1</translation>
        </message>
    </context>
</TS>
