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
        <name>HelpDialog</name>
        <message>
            <source>Help</source>
            <translation>Aide</translation>
        </message>
        <message>
            <source>Version: %0
Database last updated: %1</source>
            <translation>Version : %0
Base mise à jour le : %1</translation>
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
            <translation>Barre principale</translation>
        </message>
        <message>
            <source>KVR</source>
            <translation>KVR</translation>
        </message>
        <message>
            <source>Sermons total: 0</source>
            <translation>Messages au total : 0</translation>
        </message>
        <message>
            <source>Language</source>
            <translation>Langue</translation>
        </message>
        <message>
            <source>Database</source>
            <translation>Base de données</translation>
        </message>
        <message>
            <source>Interface</source>
            <translation>Interface</translation>
        </message>
        <message>
            <source>About</source>
            <translation>À propos</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Aide</translation>
        </message>
        <message>
            <source>Tree toolbar</source>
            <translation>Barre de l’arborescence</translation>
        </message>
        <message>
            <source>Изменения вступят в силу при следующем запуске.</source>
            <translation>La modification prendra effet au prochain démarrage du programme.</translation>
        </message>
        <message>
            <source>Sermons total: %0 / %1</source>
            <translation>Messages au total : %0 / %1</translation>
        </message>
        <message>
            <source>distinguish capital and lower case letters</source>
            <translation>distinguer majuscules et minuscules</translation>
        </message>
        <message>
            <source>words can't be parts of words</source>
            <translation>mots entiers uniquement</translation>
        </message>
        <message>
            <source>look for the exact phrase</source>
            <translation>rechercher l’expression exacte</translation>
        </message>
        <message>
            <source>the required contains at least one word</source>
            <translation>le texte contient au moins un mot</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Rechercher</translation>
        </message>
        <message>
            <source>Search toolbar</source>
            <translation>Barre de recherche</translation>
        </message>
        <message>
            <source>Service</source>
            <translation>Service</translation>
        </message>
        <message>
            <source>Settings</source>
            <translation>Paramètres</translation>
        </message>
        <message>
            <source>Open documents</source>
            <translation>Documents ouverts</translation>
        </message>
        <message>
            <source>Search options</source>
            <translation>Options de recherche</translation>
        </message>
        <message>
            <source>find word forms</source>
            <translation>chercher les formes des mots</translation>
        </message>
        <message>
            <source>Finds the other forms of each word too (нести: несёт, несут). Not with whole words, the exact phrase or capital letters.</source>
            <translation>Trouve aussi les autres formes de chaque mot (нести : несёт, несут). Sans effet avec les mots entiers, la phrase exacte ou les majuscules.</translation>
        </message>
    </context>
    <context>
        <name>NavigationWidget</name>
        <message>
            <source>from</source>
            <translation>sur</translation>
        </message>
        <message>
            <source>Previous page</source>
            <translation>Page précédente</translation>
        </message>
        <message>
            <source>Next page</source>
            <translation>Page suivante</translation>
        </message>
        <message>
            <source>Page</source>
            <translation>Page</translation>
        </message>
        <message>
            <source>Goes to the page of results chosen</source>
            <translation>Va à la page de résultats choisie</translation>
        </message>
        <message>
            <source>All results on one page</source>
            <translation>Tous les résultats sur une seule page</translation>
        </message>
    </context>
    <context>
        <name>Player</name>
        <message>
            <source>Service not available</source>
            <translation>Service indisponible</translation>
        </message>
        <message>
            <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
            <translation>L'objet QMediaPlayer n'a pas de service valide.
Vérifiez que les modules multimédias sont installés.</translation>
        </message>
        <message>
            <source>Open Files</source>
            <translation>Ouvrir des fichiers</translation>
        </message>
        <message>
            <source>Loading...</source>
            <translation>Chargement...</translation>
        </message>
        <message>
            <source>Media Stalled</source>
            <translation>Lecture interrompue</translation>
        </message>
        <message>
            <source>Buffering %4%</source>
            <translation>Mise en mémoire tampon %4%</translation>
        </message>
        <message>
            <source>Position in the recording</source>
            <translation>Position dans l'enregistrement</translation>
        </message>
    </context>
    <context>
        <name>PlayerControls</name>
        <message>
            <source>Stop</source>
            <translation>Arrêter</translation>
        </message>
        <message>
            <source>Pause</source>
            <translation>Pause</translation>
        </message>
        <message>
            <source>Play</source>
            <translation>Lire</translation>
        </message>
    </context>
    <context>
        <name>SearchWidget</name>
        <message>
            <source>Search text is too short</source>
            <translation>Le texte à rechercher est trop court</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Rechercher</translation>
        </message>
        <message>
            <source>Advanced search</source>
            <translation>Recherche avancée</translation>
        </message>
        <message>
            <source>Search text</source>
            <translation>Texte à rechercher</translation>
        </message>
        <message>
            <source>Words to find in the ticked documents; Enter starts the search</source>
            <translation>Mots à chercher dans les documents cochés ; Entrée lance la recherche</translation>
        </message>
        <message>
            <source>Shows the options of the search</source>
            <translation>Affiche les options de la recherche</translation>
        </message>
        <message>
            <source>Search, with word forms</source>
            <translation>Rechercher, avec les formes des mots</translation>
        </message>
    </context>
    <context>
        <name>SettingsDialog</name>
        <message>
            <source>Nothing was imported: the data file could not take the texts. The data and the source files are as they were.</source>
            <translation>Rien n’a été importé : le fichier de données n’a pas pu recevoir les textes. Les données et les fichiers source sont restés tels quels.</translation>
        </message>
        <message>
            <source>The %1 database already has a Bible; another one would mix with it. Choose &quot;Remove previous and insert again&quot; to replace it.</source>
            <translation>La base %1 contient déjà une Bible ; une autre s’y mêlerait. Choisissez « Supprimer les anciens et ajouter à nouveau » pour la remplacer.</translation>
        </message>
        <message>
            <source>Settings</source>
            <translation>Paramètres</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>Apply</source>
            <translation>Appliquer</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Annuler</translation>
        </message>
        <message>
            <source>Font</source>
            <translation>Police</translation>
        </message>
        <message>
            <source>Updating</source>
            <translation>Mise à jour</translation>
        </message>
        <message>
            <source>Style</source>
            <translation>Style</translation>
        </message>
        <message>
            <source>Convertor</source>
            <translation>Convertisseur</translation>
        </message>
        <message>
            <source>Content</source>
            <translation>Contenu</translation>
        </message>
        <message>
            <source>Font name</source>
            <translation>Nom de la police</translation>
        </message>
        <message>
            <source>Size</source>
            <translation>Taille</translation>
        </message>
        <message>
            <source>Note: The font will be changed only at new opened tabs (texts)</source>
            <translation>Remarque : la police ne change que dans les onglets (textes) ouverts ensuite</translation>
        </message>
        <message>
            <source>Style:</source>
            <translation>Style :</translation>
        </message>
        <message>
            <source>Style Sheet:</source>
            <translation>Feuille de style :</translation>
        </message>
        <message>
            <source>Media</source>
            <translation>Médias</translation>
        </message>
        <message>
            <source>Play sound directly</source>
            <translation>Lire le son directement</translation>
        </message>
        <message>
            <source>The style sheet could not be saved to %1.</source>
            <translation>Impossible d’enregistrer la feuille de style dans %1.</translation>
        </message>
        <message>
            <source>file
name</source>
            <translation>nom du
fichier</translation>
        </message>
        <message>
            <source>File</source>
            <translation>Fichier</translation>
        </message>
        <message>
            <source>Current
 version</source>
            <translation>Version
 actuelle</translation>
        </message>
        <message>
            <source>Allow
 update</source>
            <translation>Autoriser la
 mise à jour</translation>
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
            <translation>Choisir un dossier</translation>
        </message>
        <message>
            <source>Select directory:</source>
            <translation>Choisir le dossier :</translation>
        </message>
        <message>
            <source>Quotes</source>
            <translation>Sermons</translation>
        </message>
        <message>
            <source>Insert</source>
            <translation>Ajouter</translation>
        </message>
        <message>
            <source>Remove previous and insert again</source>
            <translation>Supprimer les anciens et ajouter à nouveau</translation>
        </message>
        <message>
            <source>Imported information type</source>
            <translation>Type des données importées</translation>
        </message>
        <message>
            <source>File Name</source>
            <translation>Nom du fichier</translation>
        </message>
        <message>
            <source>Import type</source>
            <translation>Mode d’importation</translation>
        </message>
        <message>
            <source>Import</source>
            <translation>Importer</translation>
        </message>
        <message>
            <source>You didn&apos;t choose directory</source>
            <translation>Vous n’avez pas choisi de dossier</translation>
        </message>
        <message>
            <source>The folder %1 cannot be read; nothing was changed.</source>
            <translation>Le dossier %1 est illisible ; rien n’a été modifié.</translation>
        </message>
        <message>
            <source>The folder %1 holds no source files (*.txt, *.sog); nothing was changed.</source>
            <translation>Le dossier %1 ne contient aucun fichier source (*.txt, *.sog) ; rien n’a été modifié.</translation>
        </message>
        <message>
            <source>Merging the search index and compacting the file…</source>
            <translation>Fusion de l’index de recherche et compactage du fichier…</translation>
        </message>
        <message>
            <source>Import complete!</source>
            <translation>Importation terminée !</translation>
        </message>
        <message>
            <source>Import complete, but some files could not be read or some statements failed; see the log.</source>
            <translation>Importation terminée, mais certains fichiers sont illisibles ou certaines instructions ont échoué ; voir le journal.</translation>
        </message>
        <message>
            <source>Fonts</source>
            <translation>Polices</translation>
        </message>
        <message>
            <source>Sizes</source>
            <translation>Tailles</translation>
        </message>
        <message>
            <source>Style sheet</source>
            <translation>Feuille de style</translation>
        </message>
        <message>
            <source>Style sheet text</source>
            <translation>Texte de la feuille de style</translation>
        </message>
        <message>
            <source>Apply saves the text and applies it</source>
            <translation>« Appliquer » enregistre le texte et l'applique</translation>
        </message>
        <message>
            <source>Allow updating %1</source>
            <translation>Autoriser la mise à jour : %1</translation>
        </message>
        <message>
            <source>Data files</source>
            <translation>Fichiers de données</translation>
        </message>
        <message>
            <source>Folder to import</source>
            <translation>Dossier à importer</translation>
        </message>
        <message>
            <source>Language of the imported texts</source>
            <translation>Langue des textes importés</translation>
        </message>
        <message>
            <source>Files to import</source>
            <translation>Fichiers à importer</translation>
        </message>
        <message>
            <source>Select all rows</source>
            <translation>Sélectionner toutes les lignes</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Recherche</translation>
        </message>
        <message>
            <source>Find words spelled with ё when searching with е, and the other way round</source>
            <translation>Trouver les mots écrits avec ё en cherchant avec е, et inversement (textes russes)</translation>
        </message>
    </context>
    <context>
        <name>ShareDialog</name>
        <message>
            <source>Do you really want to share this quote?</source>
            <translation>Voulez-vous vraiment partager cette citation ?</translation>
        </message>
        <message>
            <source>Quote</source>
            <translation>Citation</translation>
        </message>
        <message>
            <source>Share link (paste into browser)</source>
            <translation>Lien de partage (à coller dans le navigateur)</translation>
        </message>
        <message>
            <source>Yes</source>
            <translation>Oui</translation>
        </message>
        <message>
            <source>No</source>
            <translation>Non</translation>
        </message>
        <message>
            <source>Notice!</source>
            <translation>Attention !</translation>
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
            <translation>%1 n’est pas le nom d’un fichier PDF ou MP3.</translation>
        </message>
        <message>
            <source>Another file is still being downloaded; try again when it is done.</source>
            <translation>Un autre fichier est en cours de téléchargement ; réessayez quand il sera terminé.</translation>
        </message>
        <message>
            <source>%1 is not in the folder %2, and the settings give no address to download it from (%3).</source>
            <translation>%1 n’est pas dans le dossier %2, et les réglages ne donnent aucune adresse d’où le télécharger (%3).</translation>
        </message>
    </context>
    <context>
        <name>TabArea</name>
        <message>
            <source>Nothing found</source>
            <translation>Aucun résultat</translation>
        </message>
        <message>
            <source>%0 (found: %1)</source>
            <translation>%0 (trouvé : %1)</translation>
        </message>
        <message>
            <source>Translation</source>
            <translation>Traduction</translation>
        </message>
        <message>
            <source>Copy</source>
            <translation>Copier</translation>
        </message>
        <message>
            <source>Select all</source>
            <translation>Tout sélectionner</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Imprimer</translation>
        </message>
        <message>
            <source>Save</source>
            <translation>Enregistrer</translation>
        </message>
        <message>
            <source>Context</source>
            <translation>Contexte</translation>
        </message>
        <message>
            <source>Play or pause the recording</source>
            <translation>Lire ou mettre en pause l’enregistrement</translation>
        </message>
        <message>
            <source>Hide Caption</source>
            <translation>Masquer les titres</translation>
        </message>
        <message>
            <source>Share</source>
            <translation>Partager</translation>
        </message>
        <message>
            <source>Share on Facebook</source>
            <translation>Partager sur Facebook</translation>
        </message>
        <message>
            <source>Share on VK</source>
            <translation>Partager sur VK</translation>
        </message>
        <message>
            <source>Share on Google Plus</source>
            <translation>Partager sur Google Plus</translation>
        </message>
        <message>
            <source>Share on Twitter</source>
            <translation>Partager sur Twitter</translation>
        </message>
        <message>
            <source>Download pdf</source>
            <translation>Télécharger le pdf</translation>
        </message>
        <message>
            <source>Print the text and its translation side by side?</source>
            <translation>Imprimer le texte et sa traduction côte à côte ?</translation>
        </message>
        <message>
            <source>Save the text and its translation one paragraph after the other?</source>
            <translation>Enregistrer le texte et sa traduction, paragraphe après paragraphe ?</translation>
        </message>
        <message>
            <source>Save file</source>
            <translation>Enregistrer le fichier</translation>
        </message>
        <message>
            <source>Text (*.txt)</source>
            <translation>Texte (*.txt)</translation>
        </message>
        <message>
            <source>The file %1 could not be written: %2</source>
            <translation>Impossible d’écrire le fichier %1 : %2</translation>
        </message>
        <message>
            <source>No program to show PDF files was found. The file is %1</source>
            <translation>Aucun programme pour afficher les fichiers PDF n’a été trouvé. Le fichier est %1</translation>
        </message>
        <message>
            <source>Play the recording</source>
            <translation>Écouter l'enregistrement</translation>
        </message>
        <message>
            <source>Text</source>
            <translation>Texte</translation>
        </message>
    </context>
    <context>
        <name>ToolBar</name>
        <message>
            <source>Language selection</source>
            <translation>Choix de la langue</translation>
        </message>
        <message>
            <source>Hide duplicates</source>
            <translation>Masquer les autres traductions</translation>
        </message>
        <message>
            <source>Show duplicates</source>
            <translation>Afficher les autres traductions</translation>
        </message>
        <message>
            <source>Show tree</source>
            <translation>Afficher l’arborescence</translation>
        </message>
        <message>
            <source>Hide tree</source>
            <translation>Masquer l’arborescence</translation>
        </message>
        <message>
            <source>Messages by Year</source>
            <translation>Messages par année</translation>
        </message>
        <message>
            <source>Messages by Name</source>
            <translation>Messages par titre</translation>
        </message>
        <message>
            <source>Bible</source>
            <translation>Bible</translation>
        </message>
        <message>
            <source>The language of the texts shown and searched</source>
            <translation>La langue des textes affichés et recherchés</translation>
        </message>
    </context>
    <context>
        <name>TreeView</name>
        <message>
            <source>Warning!</source>
            <translation>Attention !</translation>
        </message>
        <message>
            <source>Nothing selected to export!</source>
            <translation>Rien n’est coché pour l’export !</translation>
        </message>
        <message>
            <source>Nothing selected to delete!</source>
            <translation>Rien n’est coché pour la suppression !</translation>
        </message>
        <message>
            <source>Collapse</source>
            <translation>Replier</translation>
        </message>
        <message>
            <source>Expand</source>
            <translation>Déplier</translation>
        </message>
        <message>
            <source>Warning</source>
            <translation>Attention</translation>
        </message>
        <message>
            <source>Export selected documents?</source>
            <translation>Exporter les documents cochés ?</translation>
        </message>
        <message>
            <source>Delete selected documents?</source>
            <translation>Supprimer les documents cochés ?</translation>
        </message>
        <message>
            <source>Check all</source>
            <translation>Tout cocher</translation>
        </message>
        <message>
            <source>Uncheck all</source>
            <translation>Tout décocher</translation>
        </message>
        <message>
            <source>Check inverse</source>
            <translation>Inverser la sélection</translation>
        </message>
        <message>
            <source>Export</source>
            <translation>Exporter</translation>
        </message>
        <message>
            <source>Delete</source>
            <translation>Supprimer</translation>
        </message>
        <message>
            <source>Catalogue</source>
            <translation>Catalogue</translation>
        </message>
        <message>
            <source>Ticked documents are the ones searched; a double click opens a document</source>
            <translation>La recherche porte sur les documents cochés ; un double clic ouvre un document</translation>
        </message>
    </context>
    <context>
        <name>ImportSplashScreen</name>
        <message>
            <source>Import Data</source>
            <translation>Importation des données</translation>
        </message>
        <message>
            <source>Import: %0 of %1</source>
            <translation>Importation : %0 sur %1</translation>
        </message>
    </context>
    <context>
        <name>UpdateDialog</name>
        <message>
            <source>Update</source>
            <translation>Mettre à jour</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Annuler</translation>
        </message>
        <message>
            <source>Updating</source>
            <translation>Mise à jour</translation>
        </message>
        <message>
            <source>Progress</source>
            <translation>Progression</translation>
        </message>
        <message>
            <source>Downloading %0</source>
            <translation>Téléchargement de %0</translation>
        </message>
        <message>
            <source>Files to update</source>
            <translation>Fichiers à mettre à jour</translation>
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
            <translation>Mises à jour prêtes dans le fichier : %0.zip</translation>
        </message>
        <message>
            <source>Warning!</source>
            <translation>Attention !</translation>
        </message>
        <message>
            <source>Nothing selected to export!</source>
            <translation>Rien n’est coché pour l’export !</translation>
        </message>
        <message>
            <source>Nothing selected to delete!</source>
            <translation>Rien n’est coché pour la suppression !</translation>
        </message>
        <message>
            <source>Nothing was exported: the folder %0 cannot be written (%1).</source>
            <translation>Rien n’a été exporté : impossible d’écrire dans le dossier %0 (%1).</translation>
        </message>
        <message>
            <source>Nothing was exported: the archive %0 could not be written (%1).</source>
            <translation>Rien n’a été exporté : l’archive %0 n’a pas pu être écrite (%1).</translation>
        </message>
        <message>
            <source>Nothing was exported: the documents could not be read from the database (%0).</source>
            <translation>Rien n’a été exporté : les documents n’ont pas pu être lus dans la base de données (%0).</translation>
        </message>
        <message>
            <source>Nothing was deleted: the database refused the change (%0).</source>
            <translation>Rien n’a été supprimé : la base de données a refusé la modification (%0).</translation>
        </message>
    </context>
    <context>
        <name>FileProblemText</name>
        <message>
            <source>The disk holding the data file %1 is full: nothing more could be written to it, and the file was left as it was. Make room on the disk, then try again.</source>
            <translation>Le disque qui contient le fichier de données %1 est plein : rien de plus n’a pu y être écrit, et le fichier est resté tel quel. Libérez de la place sur le disque, puis réessayez.</translation>
        </message>
        <message>
            <source>Data file</source>
            <translation>Fichier de données</translation>
        </message>
        <message>
            <source>The data file %1 cannot be opened: a folder of that name stands in its place. Move the folder away or put the data file there.</source>
            <translation>Le fichier de données %1 ne peut pas être ouvert : un dossier du même nom se trouve à sa place. Déplacez ce dossier ou mettez-y le fichier de données.</translation>
        </message>
        <message>
            <source>The data file %1 cannot be opened: it cannot be read with your permissions, or its disk does not answer.</source>
            <translation>Le fichier de données %1 ne peut pas être ouvert : vos droits ne permettent pas de le lire, ou son disque ne répond pas.</translation>
        </message>
        <message>
            <source>The file %1 is not a data file of this program. It was left as it is; put a good copy of the data file in its place.</source>
            <translation>Le fichier %1 n’est pas un fichier de données de ce programme. Il a été laissé tel quel ; mettez à sa place une bonne copie du fichier de données.</translation>
        </message>
        <message>
            <source>The data file %1 is damaged: it is incomplete or partly overwritten. It was left as it is; put a good copy in its place, or delete it and download the texts again.</source>
            <translation>Le fichier de données %1 est endommagé : il est incomplet ou en partie écrasé. Il a été laissé tel quel ; mettez à sa place une bonne copie, ou supprimez-le et téléchargez de nouveau les textes.</translation>
        </message>
        <message>
            <source>The data file %1 is in use by another program. Close that program, then choose this language again.</source>
            <translation>Le fichier de données %1 est utilisé par un autre programme. Fermez ce programme, puis choisissez de nouveau cette langue.</translation>
        </message>
        <message>
            <source>The data file %1 is write-protected: its texts can be read, but nothing can be added to it or removed from it.</source>
            <translation>Le fichier de données %1 est protégé en écriture : ses textes peuvent être lus, mais rien ne peut y être ajouté ni en être retiré.</translation>
        </message>
    </context>
    <context>
        <name>TabWidget</name>
        <message>
            <source>Close %1</source>
            <translation>Fermer « %1 »</translation>
        </message>
    </context>
    <context>
        <name>HitChart</name>
        <message>
            <source>Hits per book</source>
            <translation>Résultats par livre</translation>
        </message>
        <message>
            <source>Hits per year</source>
            <translation>Résultats par année</translation>
        </message>
        <message>
            <source>%1: %2 of %3 hits</source>
            <translation>%1 : %2 résultats sur %3</translation>
        </message>
        <message>
            <source>All books</source>
            <translation>Tous les livres</translation>
        </message>
        <message>
            <source>All years</source>
            <translation>Toutes les années</translation>
        </message>
        <message>
            <source>%1
%2 hits</source>
            <translation>%1
%2 résultats</translation>
        </message>
        <message>
            <source>Enter shows only the hits of the bar chosen with the arrow keys; %1</source>
            <translation>Entrée n’affiche que les résultats de la barre choisie avec les flèches ; %1</translation>
        </message>
    </context>
</TS>
