<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Parlendo</source>
        <translation>Über Parlendo</translation>
    </message>
    <message>
        <source>Parlendo</source>
        <translation>Parlendo</translation>
    </message>
    <message>
        <source>version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Live chat with the visitors of your web sites.</source>
        <translation>Live-Chat mit den Besuchern Ihrer Websites.</translation>
    </message>
    <message>
        <source>License Agreement</source>
        <translation>Lizenzvereinbarung</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
</context>
<context>
    <name>CActiveChats</name>
    <message>
        <source>ended</source>
        <translation>beendet</translation>
    </message>
    <message>
        <source>typing...</source>
        <translation>schreibt...</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message numerus="yes">
        <source>%n min</source>
        <translation>
            <numerusform>%n Min.</numerusform>
            <numerusform>%n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h</source>
        <translation>
            <numerusform>%n Std.</numerusform>
            <numerusform>%n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n unread</source>
        <translation>
            <numerusform>, %n ungelesen</numerusform>
            <numerusform>, %n ungelesen</numerusform>
        </translation>
    </message>
    <message>
        <source>, ended</source>
        <translation>, beendet</translation>
    </message>
    <message>
        <source>, typing</source>
        <translation>, schreibt</translation>
    </message>
    <message>
        <source>Alt+%1</source>
        <translation>Alt+%1</translation>
    </message>
    <message>
        <source>Chats</source>
        <translation>Chats</translation>
    </message>
    <message>
        <source>Go to the next chat</source>
        <translation>Zum nächsten Chat</translation>
    </message>
    <message>
        <source>Go to the previous chat</source>
        <translation>Zum vorigen Chat</translation>
    </message>
    <message>
        <source>Go to the first to the ninth chat</source>
        <translation>Zum ersten bis neunten Chat</translation>
    </message>
</context>
<context>
    <name>CActiveChatsView</name>
    <message>
        <source>Active chats</source>
        <translation>Aktive Chats</translation>
    </message>
</context>
<context>
    <name>CAlertCheck</name>
    <message>
        <source>Chat requests will not be heard: no sound output</source>
        <translation>Chatanfragen sind nicht zu hören: keine Tonausgabe</translation>
    </message>
    <message>
        <source>Chat requests will not show in the system tray: no system tray</source>
        <translation>Chatanfragen erscheinen nicht im Systembereich: kein Systembereich vorhanden</translation>
    </message>
    <message>
        <source>Chat requests will not pop up on the desktop: no notification service</source>
        <translation>Chatanfragen erscheinen nicht auf dem Desktop: kein Benachrichtigungsdienst</translation>
    </message>
</context>
<context>
    <name>CArchiveConnection</name>
    <message>
        <source>Qt&apos;s SQLite driver is not installed (Debian: libqt6sql6-sqlite).</source>
        <translation>Der SQLite-Treiber von Qt ist nicht installiert (Debian: libqt6sql6-sqlite).</translation>
    </message>
</context>
<context>
    <name>CArchiveFile</name>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>CArchiveSchema</name>
    <message>
        <source>SQLite on this computer has no full-text search (FTS5).</source>
        <translation>SQLite auf diesem Computer hat keine Volltextsuche (FTS5).</translation>
    </message>
    <message>
        <source>The chat history was written by a newer version of Parlendo.</source>
        <translation>Der Chatverlauf wurde von einer neueren Version von Parlendo geschrieben.</translation>
    </message>
    <message>
        <source>The file holds another program&apos;s database.</source>
        <translation>Die Datei enthält die Datenbank eines anderen Programms.</translation>
    </message>
</context>
<context>
    <name>CBaseUrlDlg</name>
    <message>
        <source>Domain Name Settings</source>
        <translation>Einstellungen für Domainnamen</translation>
    </message>
    <message>
        <source>Domain Names</source>
        <translation>Domainnamen</translation>
    </message>
    <message>
        <source>Please enter the domain names that you want to be removed from the page URLs displayed in the Parlendo window:</source>
        <translation>Bitte geben Sie die Domainnamen ein, die aus den im Parlendo-Fenster angezeigten Seitenadressen entfernt werden sollen:</translation>
    </message>
    <message>
        <source>You can use the * wildcard to match for any number of characters in the domain name.</source>
        <translation>Der Platzhalter * steht für beliebig viele Zeichen im Domainnamen.</translation>
    </message>
    <message>
        <source>Domain name %1</source>
        <translation>Domainname %1</translation>
    </message>
</context>
<context>
    <name>CCallDlg</name>
    <message>
        <source>Parlendo Call</source>
        <translation>Parlendo-Gespräch</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>You have received a Parlendo call from %1.</source>
        <translation>Sie haben eine Parlendo-Chatanfrage von %1 erhalten.</translation>
    </message>
    <message>
        <source>You have received a Parlendo call transfer from %1 %2.</source>
        <translation>Ihnen wurde ein Parlendo-Gespräch von %1 %2 übergeben.</translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation>&amp;Annehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>CCannedCompleter</name>
    <message>
        <source>Canned answers</source>
        <translation>Textbausteine</translation>
    </message>
</context>
<context>
    <name>CCannedEditDlg</name>
    <message>
        <source>Edit Canned Answer</source>
        <translation>Textbaustein bearbeiten</translation>
    </message>
    <message>
        <source>Please type in the category, title and message for this canned answer. You can type or paste HTML formatted text in the message field.</source>
        <translation>Bitte geben Sie Kategorie, Titel und Nachricht dieses Textbausteins ein. In das Nachrichtenfeld können Sie auch HTML-formatierten Text eingeben oder einfügen.</translation>
    </message>
    <message>
        <source>You must type in all the fields for the canned message.</source>
        <translation>Sie müssen alle Felder des Textbausteins ausfüllen.</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Nachricht:</translation>
    </message>
</context>
<context>
    <name>CCannedExchange</name>
    <message>
        <source>It ends before its &quot;end&quot; line: it was cut short.</source>
        <translation>Sie endet vor ihrer „end“-Zeile: Sie wurde abgeschnitten.</translation>
    </message>
    <message>
        <source>It is not a canned answers file.</source>
        <translation>Sie ist keine Textbaustein-Datei.</translation>
    </message>
    <message>
        <source>Line %1 follows the &quot;end&quot; line.</source>
        <translation>Zeile %1 steht nach der „end“-Zeile.</translation>
    </message>
    <message>
        <source>Line %1 is a message line outside an answer.</source>
        <translation>Zeile %1 ist eine Nachrichtenzeile außerhalb eines Textbausteins.</translation>
    </message>
    <message>
        <source>Line %1 is a category without a name.</source>
        <translation>Zeile %1 ist eine Kategorie ohne Namen.</translation>
    </message>
    <message>
        <source>Line %1 is an answer before any category.</source>
        <translation>Zeile %1 ist ein Textbaustein vor jeder Kategorie.</translation>
    </message>
    <message>
        <source>Line %1 is an answer without a title.</source>
        <translation>Zeile %1 ist ein Textbaustein ohne Titel.</translation>
    </message>
    <message>
        <source>Line %1 is not understood.</source>
        <translation>Zeile %1 ist unverständlich.</translation>
    </message>
    <message>
        <source>Line %1 holds a backslash that is not \\, \r or \n.</source>
        <translation>Zeile %1 enthält einen Backslash, der nicht zu \\, \r oder \n gehört.</translation>
    </message>
    <message>
        <source>The answer on line %1 has no message.</source>
        <translation>Der Textbaustein in Zeile %1 hat keine Nachricht.</translation>
    </message>
    <message>
        <source>It is damaged or was cut short.</source>
        <translation>Sie ist beschädigt oder wurde abgeschnitten.</translation>
    </message>
    <message>
        <source>It is not UTF-8 text.</source>
        <translation>Sie ist kein UTF-8-Text.</translation>
    </message>
    <message>
        <source>It cannot be read.</source>
        <translation>Sie kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>It is too large to hold canned answers.</source>
        <translation>Sie ist zu groß für eine Textbaustein-Datei.</translation>
    </message>
</context>
<context>
    <name>CCannedMsgDlg</name>
    <message>
        <source>Canned Answers</source>
        <translation>Textbausteine</translation>
    </message>
    <message>
        <source>Search titles, categories and messages</source>
        <translation>Titel, Kategorien und Nachrichten durchsuchen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>The canned answers file could not be read whole: the answers after its damaged part are missing here. When you press OK, the file is first kept aside as it is.</source>
        <translation>Die Textbaustein-Datei konnte nicht vollständig gelesen werden: Die Textbausteine nach ihrer beschädigten Stelle fehlen hier. Wenn Sie OK drücken, wird die Datei zuerst unverändert beiseitegelegt.</translation>
    </message>
    <message>
        <source>Rename Category</source>
        <translation>Kategorie umbenennen</translation>
    </message>
    <message>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <source>There is a category named &quot;%1&quot; already.</source>
        <translation>Es gibt bereits eine Kategorie namens „%1“.</translation>
    </message>
    <message numerus="yes">
        <source>Delete the category &quot;%1&quot; and the %n answer(s) in it?</source>
        <translation>
            <numerusform>Die Kategorie „%1“ und den %n Textbaustein darin löschen?</numerusform>
            <numerusform>Die Kategorie „%1“ und die %n Textbausteine darin löschen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Import Canned Answers</source>
        <translation>Textbausteine importieren</translation>
    </message>
    <message>
        <source>Canned answers (*.txt *.dat);;All files (*)</source>
        <translation>Textbausteine (*.txt *.dat);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Canned answers as text (*.txt)</source>
        <translation>Textbausteine als Text (*.txt)</translation>
    </message>
    <message>
        <source>Canned answers file (*.dat)</source>
        <translation>Textbaustein-Datei (*.dat)</translation>
    </message>
    <message>
        <source>Export Canned Answers</source>
        <translation>Textbausteine exportieren</translation>
    </message>
    <message>
        <source>%1 was not imported. %2 Nothing was changed.</source>
        <translation>%1 wurde nicht importiert. %2 Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The canned answers could not be written to %1.</source>
        <translation>Die Textbausteine konnten nicht in %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>The damaged canned answers file could not be kept aside, so it is not written over.</source>
        <translation>Die beschädigte Textbaustein-Datei konnte nicht beiseitegelegt werden und wird daher nicht überschrieben.</translation>
    </message>
    <message>
        <source>Edit the canned answers that you want to be able to send from the chat window:</source>
        <translation>Bearbeiten Sie die Textbausteine, die Sie aus dem Chatfenster senden möchten:</translation>
    </message>
    <message>
        <source>There was an error while writing the canned messages file.</source>
        <translation>Beim Schreiben der Textbaustein-Datei ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Delete the chosen answer or category</source>
        <translation>Den gewählten Textbaustein oder die Kategorie löschen</translation>
    </message>
    <message>
        <source>Rename the chosen answer or category</source>
        <translation>Den gewählten Textbaustein oder die Kategorie umbenennen</translation>
    </message>
    <message>
        <source>Search the canned answers</source>
        <translation>Textbausteine durchsuchen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Message of the chosen answer</source>
        <translation>Nachricht des gewählten Textbausteins</translation>
    </message>
    <message>
        <source>Canned answers</source>
        <translation>Textbausteine</translation>
    </message>
</context>
<context>
    <name>CCannedPanel</name>
    <message>
        <source>Canned Answers</source>
        <translation>Textbausteine</translation>
    </message>
    <message>
        <source>Hide the canned answers</source>
        <translation>Textbausteine ausblenden</translation>
    </message>
    <message>
        <source>Canned answers</source>
        <translation>Textbausteine</translation>
    </message>
</context>
<context>
    <name>CChatArchive</name>
    <message>
        <source>The chat history could not be read: %1</source>
        <translation>Der Chatverlauf konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The chat history was damaged and has been moved to %1; a new one has been started.</source>
        <translation>Der Chatverlauf war beschädigt und wurde nach %1 verschoben; ein neuer wurde begonnen.</translation>
    </message>
    <message>
        <source>The chat history could not be used (%1) and has been moved to %2; a new one has been started.</source>
        <translation>Der Chatverlauf konnte nicht verwendet werden (%1) und wurde nach %2 verschoben; ein neuer wurde begonnen.</translation>
    </message>
    <message>
        <source>The chat history is in use by another program. New lines are kept and written as soon as it is free.</source>
        <translation>Der Chatverlauf wird von einem anderen Programm verwendet. Neue Zeilen werden aufbewahrt und geschrieben, sobald er frei ist.</translation>
    </message>
    <message>
        <source>Lines could not be written to the chat history: %1</source>
        <translation>Zeilen konnten nicht in den Chatverlauf geschrieben werden: %1</translation>
    </message>
    <message>
        <source>No chat history is kept in this session: %1</source>
        <translation>In dieser Sitzung wird kein Chatverlauf geführt: %1</translation>
    </message>
</context>
<context>
    <name>CChatDlg</name>
    <message>
        <source>Parlendo</source>
        <translation>Parlendo</translation>
    </message>
    <message>
        <source>Parlendo - Connecting</source>
        <translation>Parlendo - Verbindung wird hergestellt</translation>
    </message>
    <message>
        <source>Connecting to the Parlendo server...</source>
        <translation>Verbindung zum Parlendo-Server wird hergestellt...</translation>
    </message>
    <message>
        <source>Failed to open call.<byte value="xd"/>
Unhandled software exception.</source>
        <translation>Das Gespräch konnte nicht geöffnet werden.<byte value="xd"/>
Unbehandelte Ausnahme in der Software.</translation>
    </message>
    <message>
        <source>Failed to start the chat.<byte value="xd"/>
</source>
        <translation>Der Chat konnte nicht gestartet werden.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>This call has been closed.</source>
        <translation>Dieses Gespräch wurde beendet.</translation>
    </message>
    <message>
        <source>Connected to the Parlendo server.</source>
        <translation>Mit dem Parlendo-Server verbunden.</translation>
    </message>
    <message>
        <source>This message could not be delivered: %1</source>
        <translation>Diese Nachricht konnte nicht zugestellt werden: %1</translation>
    </message>
    <message>
        <source>Parlendo - Error</source>
        <translation>Parlendo - Fehler</translation>
    </message>
    <message>
        <source>Failed to conect to the Parlendo server.</source>
        <translation>Die Verbindung zum Parlendo-Server ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Parlendo - Chat closed</source>
        <translation>Parlendo - Chat beendet</translation>
    </message>
    <message>
        <source>Chat closed</source>
        <translation>Chat beendet</translation>
    </message>
    <message>
        <source>%1 is typing a message...</source>
        <translation>%1 schreibt eine Nachricht...</translation>
    </message>
    <message>
        <source>%1 has joined this call</source>
        <translation>%1 ist dem Gespräch beigetreten</translation>
    </message>
    <message>
        <source>%1 has left this call</source>
        <translation>%1 hat das Gespräch verlassen</translation>
    </message>
    <message>
        <source>%1 has been invited to join this call</source>
        <translation>%1 wurde zum Gespräch eingeladen</translation>
    </message>
    <message>
        <source>Not sent: the chat is still connecting.</source>
        <translation>Nicht gesendet: Die Verbindung des Chats wird noch hergestellt.</translation>
    </message>
    <message>
        <source>Not sent: this chat has ended.</source>
        <translation>Nicht gesendet: Dieser Chat ist beendet.</translation>
    </message>
    <message>
        <source>Not sent: the chat&apos;s connection cannot take it.</source>
        <translation>Nicht gesendet: Die Verbindung des Chats kann die Nachricht nicht aufnehmen.</translation>
    </message>
    <message>
        <source>The invitation could not be delivered.</source>
        <translation>Die Einladung konnte nicht zugestellt werden.</translation>
    </message>
    <message>
        <source>You have closed this call.</source>
        <translation>Sie haben dieses Gespräch beendet.</translation>
    </message>
    <message>
        <source>End the chat with %1?</source>
        <translation>Den Chat mit %1 beenden?</translation>
    </message>
    <message>
        <source>Parlendo - %1</source>
        <translation>Parlendo - %1</translation>
    </message>
    <message>
        <source>Transferred chat</source>
        <translation>Übergebener Chat</translation>
    </message>
    <message>
        <source>Transferred to you by %1</source>
        <translation>Von %1 an Sie übergeben</translation>
    </message>
    <message>
        <source>Transferred to you by %1: %2</source>
        <translation>Von %1 an Sie übergeben: %2</translation>
    </message>
    <message>
        <source>%1 asks: %2</source>
        <translation>%1 fragt: %2</translation>
    </message>
    <message>
        <source>The connection to the Parlendo server was lost.</source>
        <translation>Die Verbindung zum Parlendo-Server wurde unterbrochen.</translation>
    </message>
    <message>
        <source>Chat closed: the connection to the server was lost</source>
        <translation>Chat beendet: Die Verbindung zum Server wurde unterbrochen</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>CChatExport</name>
    <message>
        <source>Chat History</source>
        <translation>Chatverlauf</translation>
    </message>
</context>
<context>
    <name>CChatParts</name>
    <message>
        <source>Ca&amp;nned Answers</source>
        <translation>Te&amp;xtbausteine</translation>
    </message>
    <message>
        <source>&amp;Transfer Chat</source>
        <translation>Chat &amp;übergeben</translation>
    </message>
    <message>
        <source>Send &amp;Link</source>
        <translation>&amp;Link senden</translation>
    </message>
    <message>
        <source>Send &amp;Image</source>
        <translation>&amp;Bild senden</translation>
    </message>
    <message>
        <source>&amp;Save Chat</source>
        <translation>Chat &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Print Chat</source>
        <translation>Chat &amp;drucken</translation>
    </message>
    <message>
        <source>Cl&amp;ose Chat</source>
        <translation>Chat be&amp;enden</translation>
    </message>
    <message>
        <source>S&amp;end</source>
        <translation>Se&amp;nden</translation>
    </message>
</context>
<context>
    <name>CChatTabsDlg</name>
    <message>
        <source>Parlendo</source>
        <translation>Parlendo</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>CConnectionBanner</name>
    <message>
        <source>The server %1 was not found: check the server address in the settings.</source>
        <translation>Der Server %1 wurde nicht gefunden: Prüfen Sie die Serveradresse in den Einstellungen.</translation>
    </message>
    <message>
        <source>%1 refused the connection: the server is not running there, or the port is wrong.</source>
        <translation>%1 hat die Verbindung abgelehnt: Der Server läuft dort nicht, oder der Port ist falsch.</translation>
    </message>
    <message>
        <source>%1 did not answer in time.</source>
        <translation>%1 hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>%1 cannot be reached from this computer: check the network.</source>
        <translation>%1 ist von diesem Computer aus nicht erreichbar: Prüfen Sie das Netzwerk.</translation>
    </message>
    <message>
        <source>Connecting to %1 was cancelled.</source>
        <translation>Die Verbindung zu %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Connecting to %1:%2...</source>
        <translation>Verbindung zu %1:%2 wird hergestellt...</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message numerus="yes">
        <source>Reconnecting in %n s.</source>
        <translation>
            <numerusform>Neuer Verbindungsversuch in %n s.</numerusform>
            <numerusform>Neuer Verbindungsversuch in %n s.</numerusform>
        </translation>
    </message>
    <message>
        <source>Retry no&amp;w</source>
        <translation>&amp;Jetzt erneut versuchen</translation>
    </message>
</context>
<context>
    <name>CConnectionController</name>
    <message>
        <source>Failed to change your status.<byte value="xd"/>
</source>
        <translation>Ihr Status konnte nicht geändert werden.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>You must first set the Parlendo server address and port in the Options dialog.</source>
        <translation>Sie müssen zuerst Adresse und Port des Parlendo-Servers in den Optionen festlegen.</translation>
    </message>
    <message>
        <source>Parlendo is trying to reconnect to the Parlendo server now.<byte value="xd"/>
If it fails, please try again in a few seconds.</source>
        <translation>Parlendo versucht gerade, sich wieder mit dem Parlendo-Server zu verbinden.<byte value="xd"/>
Falls das fehlschlägt, versuchen Sie es bitte in einigen Sekunden erneut.</translation>
    </message>
    <message>
        <source>Could not connect: %1</source>
        <translation>Keine Verbindung möglich: %1</translation>
    </message>
    <message>
        <source>Not connected: %1</source>
        <translation>Nicht verbunden: %1</translation>
    </message>
    <message>
        <source>Failed to connect to the Parlendo server.<byte value="xd"/>
</source>
        <translation>Die Verbindung zum Parlendo-Server ist fehlgeschlagen.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>You are now logged in to the Parlendo server</source>
        <translation>Sie sind jetzt beim Parlendo-Server angemeldet</translation>
    </message>
    <message>
        <source>Parlendo Notification</source>
        <translation>Parlendo-Benachrichtigung</translation>
    </message>
    <message>
        <source>New Parlendo version</source>
        <translation>Neue Parlendo-Version</translation>
    </message>
    <message>
        <source>There is a new version of Parlendo available for download.<byte value="xd"/>
Would you like to download and install the new version?</source>
        <translation>Eine neue Version von Parlendo steht zum Herunterladen bereit.<byte value="xd"/>
Möchten Sie die neue Version herunterladen und installieren?</translation>
    </message>
    <message>
        <source>Connection to %1 lost: the server stopped answering.</source>
        <translation>Verbindung zu %1 unterbrochen: Der Server antwortet nicht mehr.</translation>
    </message>
    <message>
        <source>Connection to %1 lost: a command could not be sent.</source>
        <translation>Verbindung zu %1 unterbrochen: Ein Befehl konnte nicht gesendet werden.</translation>
    </message>
    <message>
        <source>Connection to %1 lost.</source>
        <translation>Verbindung zu %1 unterbrochen.</translation>
    </message>
    <message>
        <source>You are now logged out from the Parlendo server</source>
        <translation>Sie sind jetzt vom Parlendo-Server abgemeldet</translation>
    </message>
    <message>
        <source>Your status has now been changed to %1</source>
        <translation>Ihr Status wurde auf „%1“ geändert</translation>
    </message>
</context>
<context>
    <name>CConsoleToolbar</name>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>&amp;Login</source>
        <translation>&amp;Anmelden</translation>
    </message>
    <message>
        <source>Log&amp;out</source>
        <translation>Ab&amp;melden</translation>
    </message>
    <message>
        <source>My &amp;Status</source>
        <translation>Mein &amp;Status</translation>
    </message>
    <message>
        <source>&amp;Invite to Chat</source>
        <translation>Zum Chat &amp;einladen</translation>
    </message>
    <message>
        <source>View Se&amp;ttings</source>
        <translation>Einstellun&amp;gen</translation>
    </message>
    <message>
        <source>Ca&amp;nned Answers</source>
        <translation>Te&amp;xtbausteine</translation>
    </message>
    <message>
        <source>A&amp;bout</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation>&amp;Online</translation>
    </message>
    <message>
        <source>&amp;Busy</source>
        <translation>&amp;Beschäftigt</translation>
    </message>
    <message>
        <source>&amp;Away</source>
        <translation>Ab&amp;wesend</translation>
    </message>
    <message>
        <source>&amp;Mute the chat request ring</source>
        <translation>Klingeln bei Chatanfragen &amp;stummschalten</translation>
    </message>
</context>
<context>
    <name>CCredentialStore</name>
    <message>
        <source>the settings file could not be saved</source>
        <translation>die Einstellungsdatei konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>There is no keyring on this desktop: your password is kept in the settings file, which only you can read.</source>
        <translation>Auf diesem Desktop gibt es keinen Schlüsselbund: Ihr Passwort wird in der Einstellungsdatei aufbewahrt, die nur Sie lesen können.</translation>
    </message>
    <message>
        <source>it did not answer in time</source>
        <translation>er hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>The keyring could not take your password (%1): it is kept in the settings file, which only you can read.</source>
        <translation>Der Schlüsselbund konnte Ihr Passwort nicht aufnehmen (%1): Es wird in der Einstellungsdatei aufbewahrt, die nur Sie lesen können.</translation>
    </message>
</context>
<context>
    <name>CDesktopNotifier</name>
    <message>
        <source>Accept</source>
        <translation>Annehmen</translation>
    </message>
</context>
<context>
    <name>CHistoryChatModel</name>
    <message>
        <source>(call %1)</source>
        <translation>(Gespräch %1)</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Begonnen</translation>
    </message>
    <message>
        <source>Visitor</source>
        <translation>Besucher</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Transferred</source>
        <translation>Übergeben</translation>
    </message>
</context>
<context>
    <name>CHistoryDlg</name>
    <message>
        <source>Rich Text Format (*.rtf)</source>
        <translation>Rich Text Format (*.rtf)</translation>
    </message>
    <message>
        <source>Web Page (*.html)</source>
        <translation>Webseite (*.html)</translation>
    </message>
    <message>
        <source>PDF Document (*.pdf)</source>
        <translation>PDF-Dokument (*.pdf)</translation>
    </message>
    <message>
        <source>Chat History</source>
        <translation>Chatverlauf</translation>
    </message>
    <message>
        <source>Words, or &quot;a phrase&quot; (Ctrl+F)</source>
        <translation>Wörter oder „eine Wortfolge“ (Strg+F)</translation>
    </message>
    <message>
        <source>Any visitor</source>
        <translation>Alle Besucher</translation>
    </message>
    <message>
        <source>Any operator</source>
        <translation>Alle Operatoren</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>&amp;Visitor:</source>
        <translation>&amp;Besucher:</translation>
    </message>
    <message>
        <source>&amp;Operator:</source>
        <translation>&amp;Operator:</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren...</translation>
    </message>
    <message>
        <source>Co&amp;py</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Delete History...</source>
        <translation>Verlauf &amp;löschen...</translation>
    </message>
    <message>
        <source>Chats: %1</source>
        <translation>Chats: %1</translation>
    </message>
    <message>
        <source>Chats with matches: %1</source>
        <translation>Chats mit Treffern: %1</translation>
    </message>
    <message>
        <source>Chosen: %1</source>
        <translation>Ausgewählt: %1</translation>
    </message>
    <message>
        <source>Export Chats</source>
        <translation>Chats exportieren</translation>
    </message>
    <message>
        <source>The chats could not be exported to %1.
%2</source>
        <translation>Die Chats konnten nicht nach %1 exportiert werden.
%2</translation>
    </message>
    <message>
        <source>Delete History</source>
        <translation>Verlauf löschen</translation>
    </message>
    <message>
        <source>Delete every chat in the history? They are removed from this computer and cannot be brought back.</source>
        <translation>Alle Chats im Verlauf löschen? Sie werden von diesem Computer entfernt und können nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Search the chats</source>
        <translation>Chats durchsuchen</translation>
    </message>
    <message>
        <source>Filter the chats now</source>
        <translation>Chats jetzt filtern</translation>
    </message>
    <message>
        <source>Chats</source>
        <translation>Chats</translation>
    </message>
    <message>
        <source>Transcript of the chosen chat</source>
        <translation>Verlauf des gewählten Chats</translation>
    </message>
</context>
<context>
    <name>CInviteDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Parlendo</source>
        <translation>Parlendo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>You must select the user you want to invite to this call.</source>
        <translation>Sie müssen den Operator auswählen, den Sie zu diesem Gespräch einladen möchten.</translation>
    </message>
</context>
<context>
    <name>CInviteListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>CIpAddressEdit</name>
    <message>
        <source>%1, part %2 of %3</source>
        <translation>%1, Teil %2 von %3</translation>
    </message>
</context>
<context>
    <name>CIpBlockDlg</name>
    <message>
        <source>IP Blocking Settings</source>
        <translation>Einstellungen für IP-Sperren</translation>
    </message>
    <message>
        <source>IP Blocking</source>
        <translation>IP-Sperren</translation>
    </message>
    <message>
        <source>Please enter the IP addresses of the users that you don&apos;t want to be shown as visitors in the Parlendo window:</source>
        <translation>Bitte geben Sie die IP-Adressen der Benutzer ein, die im Parlendo-Fenster nicht als Besucher angezeigt werden sollen:</translation>
    </message>
    <message>
        <source>Blocked IP address %1</source>
        <translation>Gesperrte IP-Adresse %1</translation>
    </message>
</context>
<context>
    <name>CLoginDlg</name>
    <message>
        <source>Parlendo Login</source>
        <translation>Parlendo-Anmeldung</translation>
    </message>
    <message>
        <source>Please type in your Parlendo username and password:</source>
        <translation>Bitte geben Sie Ihren Parlendo-Benutzernamen und Ihr Passwort ein:</translation>
    </message>
    <message>
        <source>&amp;Username:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>Don&apos;t have a username and password yet?</source>
        <translation>Sie haben noch keinen Benutzernamen und kein Passwort?</translation>
    </message>
    <message>
        <source>Click here to create a new account</source>
        <translation>Klicken Sie hier, um ein neues Konto anzulegen</translation>
    </message>
    <message>
        <source>C&amp;hange...</source>
        <translation>Ä&amp;ndern...</translation>
    </message>
    <message>
        <source>Server: %1:%2</source>
        <translation>Server: %1:%2</translation>
    </message>
    <message>
        <source>You must type in your username and password to login to the Parlendo server.</source>
        <translation>Sie müssen Benutzername und Passwort eingeben, um sich beim Parlendo-Server anzumelden.</translation>
    </message>
    <message>
        <source>&amp;Remember my username and password</source>
        <translation>Benutzernamen und Passwort &amp;speichern</translation>
    </message>
</context>
<context>
    <name>CMissedChats</name>
    <message>
        <source>Missed chats</source>
        <translation>Verpasste Chats</translation>
    </message>
    <message>
        <source>The list of missed chats could not be read and starts empty: %1</source>
        <translation>Die Liste der verpassten Chats konnte nicht gelesen werden und beginnt leer: %1</translation>
    </message>
    <message>
        <source>The list of missed chats could not be saved: %1</source>
        <translation>Die Liste der verpassten Chats konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Call transfer</source>
        <translation>Gesprächsübergabe</translation>
    </message>
    <message>
        <source>Chat request</source>
        <translation>Chatanfrage</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
</context>
<context>
    <name>CMissedChatsFile</name>
    <message>
        <source>not a list of missed chats</source>
        <translation>keine Liste verpasster Chats</translation>
    </message>
    <message>
        <source>entry %1 is damaged</source>
        <translation>Eintrag %1 ist beschädigt</translation>
    </message>
</context>
<context>
    <name>CNavigationColumn</name>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Website &amp;Visitors</source>
        <translation>Website-&amp;Besucher</translation>
    </message>
    <message>
        <source>Website O&amp;perators</source>
        <translation>Website-&amp;Operatoren</translation>
    </message>
    <message>
        <source>&amp;Missed Chats</source>
        <translation>&amp;Verpasste Chats</translation>
    </message>
    <message>
        <source>Chat &amp;History</source>
        <translation>Chat&amp;verlauf</translation>
    </message>
    <message>
        <source>Website &amp;Reports</source>
        <translation>Website-Be&amp;richte</translation>
    </message>
    <message>
        <source>Acco&amp;unt Settings</source>
        <translation>&amp;Kontoeinstellungen</translation>
    </message>
    <message>
        <source>&amp;Quick Tutorial      </source>
        <translation>Kurz&amp;anleitung      </translation>
    </message>
</context>
<context>
    <name>CNotifier</name>
    <message>
        <source>Parlendo</source>
        <translation>Parlendo</translation>
    </message>
</context>
<context>
    <name>COfferAlerts</name>
    <message>
        <source>Parlendo Call</source>
        <translation>Parlendo-Gespräch</translation>
    </message>
</context>
<context>
    <name>COffersModel</name>
    <message>
        <source>%1 (%2 s)</source>
        <translation>%1 (%2 s)</translation>
    </message>
    <message>
        <source>Double-click or Enter accepts.</source>
        <translation>Doppelklick oder Eingabetaste nimmt an.</translation>
    </message>
    <message>
        <source>Transfer from %1</source>
        <translation>Übergabe von %1</translation>
    </message>
</context>
<context>
    <name>COffersView</name>
    <message>
        <source>Chat requests waiting</source>
        <translation>Wartende Chatanfragen</translation>
    </message>
</context>
<context>
    <name>COperatorDlg</name>
    <message>
        <source>Parlendo - Not connected</source>
        <translation>Parlendo - Nicht verbunden</translation>
    </message>
    <message>
        <source>Parlendo - Connecting [%1]</source>
        <translation>Parlendo - Verbindung wird hergestellt [%1]</translation>
    </message>
    <message>
        <source>Parlendo - Online [%1]</source>
        <translation>Parlendo - Online [%1]</translation>
    </message>
    <message>
        <source>Parlendo - %1 [%2]</source>
        <translation>Parlendo - %1 [%2]</translation>
    </message>
    <message>
        <source> Website Visitors</source>
        <translation> Website-Besucher</translation>
    </message>
    <message>
        <source>Chat requests</source>
        <translation>Chatanfragen</translation>
    </message>
    <message>
        <source> Website Operators</source>
        <translation> Website-Operatoren</translation>
    </message>
    <message>
        <source> Website reports</source>
        <translation> Website-Berichte</translation>
    </message>
    <message>
        <source> Account Settings</source>
        <translation> Kontoeinstellungen</translation>
    </message>
    <message>
        <source> Quick Tutorial</source>
        <translation> Kurzanleitung</translation>
    </message>
    <message>
        <source>Failed to invite selected users to chat.<byte value="xd"/>
</source>
        <translation>Die ausgewählten Besucher konnten nicht zum Chat eingeladen werden.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Active chats</source>
        <translation>Aktive Chats</translation>
    </message>
    <message>
        <source>Chat History</source>
        <translation>Chatverlauf</translation>
    </message>
    <message>
        <source>Missed chats</source>
        <translation>Verpasste Chats</translation>
    </message>
    <message>
        <source> Missed Chats</source>
        <translation> Verpasste Chats</translation>
    </message>
    <message>
        <source>Parlendo</source>
        <translation>Parlendo</translation>
    </message>
    <message>
        <source>Chat requests will not be heard: the ring is muted</source>
        <translation>Chatanfragen sind nicht zu hören: Das Klingeln ist stummgeschaltet</translation>
    </message>
    <message numerus="yes">
        <source>%n more chat request(s) waiting</source>
        <translation>
            <numerusform>%n weitere Chatanfrage wartet</numerusform>
            <numerusform>%n weitere Chatanfragen warten</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Accept the oldest</source>
        <translation>Älteste &amp;annehmen</translation>
    </message>
    <message numerus="yes">
        <source>%n chat(s) are still open. End them and quit?</source>
        <translation>
            <numerusform>%n Chat ist noch offen. Beenden und Parlendo schließen?</numerusform>
            <numerusform>%n Chats sind noch offen. Alle beenden und Parlendo schließen?</numerusform>
        </translation>
    </message>
    <message>
        <source>There is already a similar command in progress.<byte value="xd"/>
Please wait for the previous command to finish first.</source>
        <translation>Ein gleichartiger Befehl wird bereits ausgeführt.<byte value="xd"/>
Bitte warten Sie, bis der vorige Befehl abgeschlossen ist.</translation>
    </message>
    <message>
        <source>Ctrl+Shift+A accepts the oldest chat request.</source>
        <translation>Strg+Umschalt+A nimmt die älteste Chatanfrage an.</translation>
    </message>
    <message>
        <source>Website visitors</source>
        <translation>Website-Besucher</translation>
    </message>
    <message>
        <source>Website operators</source>
        <translation>Website-Operatoren</translation>
    </message>
    <message>
        <source>Service page</source>
        <translation>Dienstseite</translation>
    </message>
    <message>
        <source>&amp;Missed Chats (%1)</source>
        <translation>&amp;Verpasste Chats (%1)</translation>
    </message>
    <message>
        <source>&amp;Missed Chats</source>
        <translation>&amp;Verpasste Chats</translation>
    </message>
    <message>
        <source>Unmut&amp;e</source>
        <translation>&amp;Stummschaltung aufheben</translation>
    </message>
</context>
<context>
    <name>COperatorListModel</name>
    <message>
        <source>Agent Name</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Agent Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Agent Host</source>
        <translation>Host</translation>
    </message>
</context>
<context>
    <name>COptionsDlg</name>
    <message>
        <source>Parlendo Options</source>
        <translation>Parlendo-Optionen</translation>
    </message>
    <message>
        <source>Server Address</source>
        <translation>Serveradresse</translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>0 keeps every chat</source>
        <translation>0 behält jeden Chat</translation>
    </message>
    <message>
        <source>days (0: always)</source>
        <translation>Tage (0: immer)</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Advanced Settings</source>
        <translation>Erweiterte Einstellungen</translation>
    </message>
    <message>
        <source>Do not show web site visitors coming from these IP addresses:</source>
        <translation>Website-Besucher von diesen IP-Adressen nicht anzeigen:</translation>
    </message>
    <message>
        <source>Remove the domain name from the displayed web pages address:</source>
        <translation>Den Domainnamen aus den angezeigten Seitenadressen entfernen:</translation>
    </message>
    <message>
        <source>The server port must be a valid number.</source>
        <translation>Der Serverport muss eine gültige Zahl sein.</translation>
    </message>
    <message>
        <source>The alert timeout must be a valid number.</source>
        <translation>Die Anzeigedauer muss eine gültige Zahl sein.</translation>
    </message>
    <message>
        <source>The days to keep the chat history must be a number from 0 to %1.</source>
        <translation>Die Aufbewahrungsdauer des Chatverlaufs muss eine Zahl von 0 bis %1 Tagen sein.</translation>
    </message>
    <message>
        <source>There was an error while saving the Parlendo settings in the settings file.
Please check that you have the required permissions to modify the settings file.</source>
        <translation>Beim Speichern der Parlendo-Einstellungen in der Einstellungsdatei ist ein Fehler aufgetreten.
Bitte prüfen Sie, ob Sie die Einstellungsdatei ändern dürfen.</translation>
    </message>
    <message>
        <source>Server &amp;Address:</source>
        <translation>Server&amp;adresse:</translation>
    </message>
    <message>
        <source>Server &amp;Port:</source>
        <translation>Server&amp;port:</translation>
    </message>
    <message>
        <source>Automatically &amp;run Parlendo when the desktop session starts</source>
        <translation>Parlendo beim Start der Desktop-Sitzung automatisch aus&amp;führen</translation>
    </message>
    <message>
        <source>Automatically &amp;login to server when Parlendo starts</source>
        <translation>Beim Start von Parlendo automatisch am Server an&amp;melden</translation>
    </message>
    <message>
        <source>Automatically re&amp;connect when disconnected</source>
        <translation>Nach einem Verbindungsverlust automatisch neu &amp;verbinden</translation>
    </message>
    <message>
        <source>Display events as system &amp;tray notifications</source>
        <translation>Ereignisse als Benachrichtigungen im System&amp;bereich anzeigen</translation>
    </message>
    <message>
        <source>Play a &amp;sound when receiving a new chat request</source>
        <translation>Bei einer neuen Chatanfrage einen &amp;Ton abspielen</translation>
    </message>
    <message>
        <source>Play a sound for a new line in a chat in the bac&amp;kground</source>
        <translation>Bei einer neuen Zeile in einem Chat im &amp;Hintergrund einen Ton abspielen</translation>
    </message>
    <message>
        <source>Show chats as ta&amp;bs in one window</source>
        <translation>Chats als &amp;Registerkarten in einem Fenster zeigen</translation>
    </message>
    <message>
        <source>Show the ti&amp;me of each line in chat windows</source>
        <translation>In Chatfenstern die &amp;Uhrzeit jeder Zeile zeigen</translation>
    </message>
    <message>
        <source>Keep the chat &amp;history for </source>
        <translation>&amp;Chatverlauf aufbewahren für </translation>
    </message>
    <message>
        <source>Display &amp;new chat requests for </source>
        <translation>&amp;Neue Chatanfragen anzeigen für </translation>
    </message>
    <message>
        <source>&amp;Welcome Message</source>
        <translation>&amp;Begrüßungsnachricht</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Th&amp;eme:</source>
        <translation>&amp;Farbschema:</translation>
    </message>
    <message>
        <source>&amp;IP Blocking</source>
        <translation>&amp;IP-Sperren</translation>
    </message>
    <message>
        <source>&amp;Domain Names</source>
        <translation>&amp;Domainnamen</translation>
    </message>
</context>
<context>
    <name>CPopupSummary</name>
    <message>
        <source>Show the visitors list</source>
        <translation>Die Besucherliste zeigen</translation>
    </message>
    <message numerus="yes">
        <source>%n more visitor(s) entered</source>
        <translation>
            <numerusform>%n weiterer Besucher ist eingetroffen</numerusform>
            <numerusform>%n weitere Besucher sind eingetroffen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CServerDlg</name>
    <message>
        <source>Parlendo Server</source>
        <translation>Parlendo-Server</translation>
    </message>
    <message>
        <source>chat.example.org</source>
        <translation>chat.example.org</translation>
    </message>
    <message>
        <source>Which Parlendo server does your account use? Your administrator or the welcome mail of your account names it.</source>
        <translation>Welchen Parlendo-Server verwendet Ihr Konto? Ihr Administrator oder die Begrüßungs-E-Mail Ihres Kontos nennt ihn.</translation>
    </message>
    <message>
        <source>Server &amp;address:</source>
        <translation>Server&amp;adresse:</translation>
    </message>
    <message>
        <source>Server &amp;port:</source>
        <translation>Server&amp;port:</translation>
    </message>
    <message>
        <source>Please type in the address of your Parlendo server.</source>
        <translation>Bitte geben Sie die Adresse Ihres Parlendo-Servers ein.</translation>
    </message>
    <message>
        <source>The server port must be a valid number.</source>
        <translation>Der Serverport muss eine gültige Zahl sein.</translation>
    </message>
    <message>
        <source>There was an error while saving the Parlendo settings in the settings file.
Please check that you have the required permissions to modify the settings file.</source>
        <translation>Beim Speichern der Parlendo-Einstellungen in der Einstellungsdatei ist ein Fehler aufgetreten.
Bitte prüfen Sie, ob Sie die Einstellungsdatei ändern dürfen.</translation>
    </message>
</context>
<context>
    <name>CShortcutsDlg</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>&amp;Shortcuts of each window:</source>
        <translation>&amp;Tastenkürzel jedes Fensters:</translation>
    </message>
</context>
<context>
    <name>CTranscriptDocument</name>
    <message>
        <source>Chat on call %1, %2, taken by %3</source>
        <translation>Chat im Gespräch %1, %2, angenommen von %3</translation>
    </message>
    <message>
        <source>Chat with %1, %2, taken by %3</source>
        <translation>Chat mit %1, %2, angenommen von %3</translation>
    </message>
    <message>
        <source>%1 (transferred)</source>
        <translation>%1 (übergeben)</translation>
    </message>
</context>
<context>
    <name>CTrayIcon</name>
    <message>
        <source>&amp;Show Parlendo</source>
        <translation>Parlendo &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation>&amp;Online</translation>
    </message>
    <message>
        <source>&amp;Busy</source>
        <translation>&amp;Beschäftigt</translation>
    </message>
    <message>
        <source>&amp;Away</source>
        <translation>Ab&amp;wesend</translation>
    </message>
    <message>
        <source>&amp;Mute the chat request ring</source>
        <translation>Klingeln bei Chatanfragen &amp;stummschalten</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>&amp;Hide Parlendo</source>
        <translation>Parlendo &amp;ausblenden</translation>
    </message>
    <message numerus="yes">
        <source>%n missed chat(s)</source>
        <translation>
            <numerusform>%n verpasster Chat</numerusform>
            <numerusform>%n verpasste Chats</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CUrlDlg</name>
    <message>
        <source>Enter URL</source>
        <translation>URL eingeben</translation>
    </message>
    <message>
        <source>Please type in the URL of the image or page you want to send to the visitor:</source>
        <translation>Bitte geben Sie die URL des Bildes oder der Seite ein, die Sie dem Besucher senden möchten:</translation>
    </message>
    <message>
        <source>You must type in the URL of the image or page you want to send to the visitor.</source>
        <translation>Sie müssen die URL des Bildes oder der Seite eingeben, die Sie dem Besucher senden möchten.</translation>
    </message>
</context>
<context>
    <name>CUrlLauncher</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>Dem Betriebssystem fehlen
Speicher oder Ressourcen.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>Die angegebene Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>Der angegebene Pfad wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>Das Betriebssystem hat den Zugriff
auf die angegebene Datei verweigert.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>Für diesen Vorgang war nicht genügend Speicher vorhanden.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>Die .EXE-Datei ist ungültig
(keine Win32-.EXE oder Fehler im .EXE-Abbild).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Eine Freigabeverletzung ist aufgetreten. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>Die Dateizuordnung ist
unvollständig oder ungültig.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, weil die Anfrage zu lange dauerte.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>Die DDE-Transaktion ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, weil andere DDE-Transaktionen
bearbeitet wurden.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>Mit dieser Dateiendung ist
kein Programm verknüpft.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>Die angegebene Programmbibliothek wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Unbekannter Fehler (%1) aufgetreten.</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>Der Link konnte nicht geöffnet werden:

</translation>
    </message>
</context>
<context>
    <name>CVisitorListCtrl</name>
    <message>
        <source>Do you want to send a chat invitation to the visitor browsing the selected web page?</source>
        <translation>Möchten Sie dem Besucher der ausgewählten Webseite eine Chateinladung senden?</translation>
    </message>
</context>
<context>
    <name>CVisitorListModel</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message>
        <source>invited</source>
        <translation>eingeladen</translation>
    </message>
    <message>
        <source>IP: %1</source>
        <translation>IP: %1</translation>
    </message>
</context>
<context>
    <name>CVisitorPopupDlg</name>
    <message>
        <source>Invite to chat</source>
        <translation>Einladen</translation>
    </message>
    <message>
        <source>A visitor has now entered: </source>
        <translation>Ein Besucher ist eingetroffen: </translation>
    </message>
    <message>
        <source>There was an error while sending the chat invitation.
</source>
        <translation>Beim Senden der Chateinladung ist ein Fehler aufgetreten.
</translation>
    </message>
</context>
<context>
    <name>CVisitorRowDelegate</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message>
        <source>IP: </source>
        <translation>IP: </translation>
    </message>
</context>
<context>
    <name>CWebPane</name>
    <message>
        <source>The page has been opened in your web browser:
%1</source>
        <translation>Die Seite wurde in Ihrem Webbrowser geöffnet:
%1</translation>
    </message>
    <message>
        <source>The page cannot be shown: the browser that shows it has stopped.
Choose the page again to open it anew.</source>
        <translation>Die Seite kann nicht angezeigt werden: Der Browser, der sie anzeigt, wurde beendet.
Wählen Sie die Seite erneut, um sie neu zu öffnen.</translation>
    </message>
</context>
<context>
    <name>QWidget</name>
    <message>
        <source>Conversation</source>
        <translation>Unterhaltung</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Enter sends the message, Shift+Enter starts a new line</source>
        <translation>Eingabe sendet die Nachricht, Umschalt+Eingabe beginnt eine neue Zeile</translation>
    </message>
</context>
<context>
    <name>ResultCodes</name>
    <message>
        <source>The server failed to execute the SQL command.</source>
        <translation>Der Server konnte den SQL-Befehl nicht ausführen.</translation>
    </message>
    <message>
        <source>The server could not connect to the database.</source>
        <translation>Der Server konnte keine Verbindung zur Datenbank herstellen.</translation>
    </message>
    <message>
        <source>The specified file could not be found.</source>
        <translation>Die angegebene Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The specified file already exists.</source>
        <translation>Die angegebene Datei ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>You are already signed in to the Parlendo server.</source>
        <translation>Sie sind bereits beim Parlendo-Server angemeldet.</translation>
    </message>
    <message>
        <source>The communication channel is already opened.</source>
        <translation>Der Kommunikationskanal ist bereits geöffnet.</translation>
    </message>
    <message>
        <source>The communication channel could not be found.</source>
        <translation>Der Kommunikationskanal wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The web page visitor could not be not found.</source>
        <translation>Der Besucher der Webseite wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The IP address could not be authenticated.</source>
        <translation>Die IP-Adresse konnte nicht authentifiziert werden.</translation>
    </message>
    <message>
        <source>The IP address could not be validated.</source>
        <translation>Die IP-Adresse konnte nicht überprüft werden.</translation>
    </message>
    <message>
        <source>The chat session invitation is not valid.</source>
        <translation>Die Einladung zum Chat ist ungültig.</translation>
    </message>
    <message>
        <source>The chat session could not be found.</source>
        <translation>Der Chat wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The specified user is not online.</source>
        <translation>Der angegebene Benutzer ist nicht online.</translation>
    </message>
    <message>
        <source>The server reached the maximum number of connections.</source>
        <translation>Der Server hat die höchste Zahl an Verbindungen erreicht.</translation>
    </message>
    <message>
        <source>The supplied user credentials are not valid.</source>
        <translation>Die angegebenen Anmeldedaten sind ungültig.</translation>
    </message>
    <message>
        <source>The application version is not valid.</source>
        <translation>Die Programmversion ist ungültig.</translation>
    </message>
    <message>
        <source>The system failed to create a new thread.</source>
        <translation>Das System konnte keinen neuen Thread anlegen.</translation>
    </message>
    <message>
        <source>The socket message command is not valid.</source>
        <translation>Der Befehl der Socket-Nachricht ist ungültig.</translation>
    </message>
    <message>
        <source>The socket message parameters are not valid.</source>
        <translation>Die Parameter der Socket-Nachricht sind ungültig.</translation>
    </message>
    <message>
        <source>The socket message type is not valid.</source>
        <translation>Der Typ der Socket-Nachricht ist ungültig.</translation>
    </message>
    <message>
        <source>The socket message is empty or corrupted.</source>
        <translation>Die Socket-Nachricht ist leer oder beschädigt.</translation>
    </message>
    <message>
        <source>The socket message format is not valid.</source>
        <translation>Das Format der Socket-Nachricht ist ungültig.</translation>
    </message>
    <message>
        <source>The socket message size is not valid.</source>
        <translation>Die Größe der Socket-Nachricht ist ungültig.</translation>
    </message>
    <message>
        <source>The specified file is corrupted.</source>
        <translation>Die angegebene Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>The specified file could not be saved.</source>
        <translation>Die angegebene Datei konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The specified file could not be read.</source>
        <translation>Die angegebene Datei konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The specified file could not be opened.</source>
        <translation>Die angegebene Datei konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The system failed to aquire the semaphore.</source>
        <translation>Das System konnte die Semaphore nicht belegen.</translation>
    </message>
    <message>
        <source>There was an error while communicating with the server.</source>
        <translation>Bei der Kommunikation mit dem Server ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>There was an error while opening the socket.</source>
        <translation>Beim Öffnen des Sockets ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>There was an error while connecting to the server.</source>
        <translation>Beim Verbinden mit dem Server ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>There was an error while initializing the socket.</source>
        <translation>Beim Initialisieren des Sockets ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>There was an unknown internal error.</source>
        <translation>Ein unbekannter interner Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>ShownText</name>
    <message numerus="yes">
        <source>[%n more character(s) not shown]</source>
        <translation>
            <numerusform>[%n weiteres Zeichen nicht angezeigt]</numerusform>
            <numerusform>[%n weitere Zeichen nicht angezeigt]</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatusWord</name>
    <message>
        <source>busy</source>
        <translation>beschäftigt</translation>
    </message>
    <message>
        <source>away</source>
        <translation>abwesend</translation>
    </message>
    <message>
        <source>online</source>
        <translation>online</translation>
    </message>
</context>
<context>
    <name>TranscriptOutput</name>
    <message>
        <source>The chat could not be saved to %1.
%2</source>
        <translation>Der Chat konnte nicht in %1 gespeichert werden.
%2</translation>
    </message>
    <message>
        <source>The chat could not be printed: the printer could not be started.</source>
        <translation>Der Chat konnte nicht gedruckt werden: Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The chat could not be printed: the printer refused a new page.</source>
        <translation>Der Chat konnte nicht gedruckt werden: Der Drucker hat eine neue Seite abgelehnt.</translation>
    </message>
    <message>
        <source>The chat could not be printed: the print job could not be finished.</source>
        <translation>Der Chat konnte nicht gedruckt werden: Der Druckauftrag konnte nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Rich Text Format(*.rtf)</source>
        <translation>Rich Text Format (*.rtf)</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>The folder could not be made.</source>
        <translation>Der Ordner konnte nicht angelegt werden.</translation>
    </message>
</context>
</TS>
