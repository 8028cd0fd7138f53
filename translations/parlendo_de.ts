<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live chat with the visitors of your web sites.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>License Agreement</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CActiveChats</name>
    <message>
        <source>ended</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>typing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>now</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n min</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n unread</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>, ended</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, typing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CActiveChatsView</name>
    <message>
        <source>Active chats</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAlertCheck</name>
    <message>
        <source>Chat requests will not be heard: no sound output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat requests will not show in the system tray: no system tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat requests will not pop up on the desktop: no notification service</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CArchiveConnection</name>
    <message>
        <source>Qt&apos;s SQLite driver is not installed (Debian: libqt6sql6-sqlite).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CArchiveFile</name>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CArchiveSchema</name>
    <message>
        <source>SQLite on this computer has no full-text search (FTS5).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat history was written by a newer version of Parlendo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds another program&apos;s database.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CBaseUrlDlg</name>
    <message>
        <source>Domain Name Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Domain Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the domain names that you want to be removed from the page URLs displayed in the Parlendo window:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can use the * wildcard to match for any number of characters in the domain name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCallDlg</name>
    <message>
        <source>Accept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo Call</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have received a Parlendo call from %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have received a Parlendo call transfer from %1 %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCannedCompleter</name>
    <message>
        <source>Canned answers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCannedEditDlg</name>
    <message>
        <source>Edit Canned Answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please type in the category, title and message for this canned answer. You can type or paste HTML formatted text in the message field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must type in all the fields for the canned message.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCannedExchange</name>
    <message>
        <source>It ends before its &quot;end&quot; line: it was cut short.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not a canned answers file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 follows the &quot;end&quot; line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 is a message line outside an answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 is a category without a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 is an answer before any category.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 is an answer without a title.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 is not understood.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 holds a backslash that is not \\, \r or \n.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The answer on line %1 has no message.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is damaged or was cut short.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not UTF-8 text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is too large to hold canned answers.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCannedMsgDlg</name>
    <message>
        <source>Canned Answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search titles, categories and messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The canned answers file could not be read whole: the answers after its damaged part are missing here. When you press OK, the file is first kept aside as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is a category named &quot;%1&quot; already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Delete the category &quot;%1&quot; and the %n answer(s) in it?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Import Canned Answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canned answers (*.txt *.dat);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canned answers as text (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canned answers file (*.dat)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Canned Answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not imported. %2 Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The canned answers could not be written to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The damaged canned answers file could not be kept aside, so it is not written over.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit the canned answers that you want to be able to send from the chat window:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while writing the canned messages file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCannedPanel</name>
    <message>
        <source>Canned Answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide the canned answers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChatArchive</name>
    <message>
        <source>The chat history could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat history was damaged and has been moved to %1; a new one has been started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat history could not be used (%1) and has been moved to %2; a new one has been started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat history is in use by another program. New lines are kept and written as soon as it is free.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines could not be written to the chat history: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No chat history is kept in this session: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChatDlg</name>
    <message>
        <source>Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - Connecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to the Parlendo server...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to open call.<byte value="xd"/>
Unhandled software exception.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to start the chat.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This call has been closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to the Parlendo server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This message could not be delivered: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to conect to the Parlendo server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - Chat closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is typing a message...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has joined this call</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has left this call</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has been invited to join this call</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: the chat is still connecting.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: this chat has ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not sent: the chat&apos;s connection cannot take it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The invitation could not be delivered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have closed this call.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End the chat with %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transferred chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transferred to you by %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transferred to you by %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 asks: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChatExport</name>
    <message>
        <source>Chat History</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChatParts</name>
    <message>
        <source>Canned Answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the chat as a rich text file (Ctrl+S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the chat (Ctrl+P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChatTabsDlg</name>
    <message>
        <source>Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConnectionBanner</name>
    <message>
        <source>The server %1 was not found: check the server address in the settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 refused the connection: the server is not running there, or the port is wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 did not answer in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be reached from this computer: check the network.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to %1 was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to %1:%2...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Retry now</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Reconnecting in %n s.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CConnectionController</name>
    <message>
        <source>Failed to change your status.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must first set the Parlendo server address and port in the Options dialog.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo is trying to reconnect to the Parlendo server now.<byte value="xd"/>
If it fails, please try again in a few seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not connect: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not connected: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to connect to the Parlendo server.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are now logged in to the Parlendo server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo Notification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Parlendo version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is a new version of Parlendo available for download.<byte value="xd"/>
Would you like to download and install the new version?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection to %1 lost: the server stopped answering.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection to %1 lost: a command could not be sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection to %1 lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are now logged out from the Parlendo server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your status has now been changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConsoleToolbar</name>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invite to Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canned Answers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute the chat request ring</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCredentialStore</name>
    <message>
        <source>the settings file could not be saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no keyring on this desktop: your password is kept in the settings file, which only you can read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it did not answer in time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keyring could not take your password (%1): it is kept in the settings file, which only you can read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDesktopNotifier</name>
    <message>
        <source>Accept</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHistoryChatModel</name>
    <message>
        <source>(call %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Matches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transferred</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHistoryDlg</name>
    <message>
        <source>Rich Text Format (*.rtf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Page (*.html)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF Document (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words, or &quot;a phrase&quot; (Ctrl+F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any visitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any operator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Visitor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Operator:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Co&amp;py</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete History...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chats: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chats with matches: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chosen: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chats could not be exported to %1.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete every chat in the history? They are removed from this computer and cannot be brought back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CInviteDlg</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select the user you want to invite to this call.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CInviteListModel</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CIpBlockDlg</name>
    <message>
        <source>IP Blocking Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Blocking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the IP addresses of the users that you don&apos;t want to be shown as visitors in the Parlendo window:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLoginDlg</name>
    <message>
        <source>Remember my username and password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please type in your Parlendo username and password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Username:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t have a username and password yet?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click here to create a new account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;hange...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server: %1:%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must type in your username and password to login to the Parlendo server.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMissedChats</name>
    <message>
        <source>Missed chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of missed chats could not be read and starts empty: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of missed chats could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMissedChatsFile</name>
    <message>
        <source>not a list of missed chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>entry %1 is damaged</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNavigationColumn</name>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website Visitors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website Operators</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed Chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website Reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Tutorial      </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNotifier</name>
    <message>
        <source>Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COfferAlerts</name>
    <message>
        <source>Parlendo Call</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COffersModel</name>
    <message>
        <source>%1 (%2 s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click or Enter accepts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer from %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COffersView</name>
    <message>
        <source>Chat requests waiting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COperatorDlg</name>
    <message>
        <source>Parlendo - Not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - Connecting [%1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - Online [%1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo - %1 [%2]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Website Visitors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat requests</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Website Operators</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Website reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Account Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Quick Tutorial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to invite selected users to chat.<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accept the oldest chat request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Missed Chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed Chats (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed Chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat requests will not be heard: the ring is muted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Unmute</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n more chat request(s) waiting</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Accept the oldest</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n chat(s) are still open. End them and quit?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>There is already a similar command in progress.<byte value="xd"/>
Please wait for the previous command to finish first.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COperatorListModel</name>
    <message>
        <source>Agent Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Agent Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Agent Host</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptionsDlg</name>
    <message>
        <source>Parlendo Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically run Parlendo when the desktop session starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically login to server when Parlendo starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically reconnect when disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display events as system tray notifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play a sound when receiving a new chat request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play a sound for a new line in a chat in the background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show chats as tabs in one window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the time of each line in chat windows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 keeps every chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the chat history for </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>days (0: always)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display new chat requests for </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Blocking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Domain Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not show web site visitors coming from these IP addresses:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the domain name from the displayed web pages address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server port must be a valid number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The alert timeout must be a valid number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The days to keep the chat history must be a number from 0 to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while saving the Parlendo settings in the settings file.
Please check that you have the required permissions to modify the settings file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPopupSummary</name>
    <message>
        <source>Show the visitors list</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n more visitor(s) entered</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CServerDlg</name>
    <message>
        <source>Parlendo Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>chat.example.org</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which Parlendo server does your account use? Your administrator or the welcome mail of your account names it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server &amp;address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server &amp;port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please type in the address of your Parlendo server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server port must be a valid number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while saving the Parlendo settings in the settings file.
Please check that you have the required permissions to modify the settings file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTranscriptDocument</name>
    <message>
        <source>Chat on call %1, %2, taken by %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat with %1, %2, taken by %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (transferred)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTrayIcon</name>
    <message>
        <source>&amp;Show Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Mute the chat request ring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hide Parlendo</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n missed chat(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CUrlDlg</name>
    <message>
        <source>Enter URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please type in the URL of the image or page you want to send to the visitor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must type in the URL of the image or page you want to send to the visitor.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CUrlLauncher</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVisitorListCtrl</name>
    <message>
        <source>Do you want to send a chat invitation to the visitor browsing the selected web page?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVisitorPopupDlg</name>
    <message>
        <source>Invite to chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A visitor has now entered: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while sending the chat invitation.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVisitorRowDelegate</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>IP: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWebPane</name>
    <message>
        <source>The page has been opened in your web browser:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultCodes</name>
    <message>
        <source>The server failed to execute the SQL command.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server could not connect to the database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are already signed in to the Parlendo server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The communication channel is already opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The communication channel could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web page visitor could not be not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The IP address could not be authenticated.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The IP address could not be validated.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat session invitation is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat session could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified user is not online.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server reached the maximum number of connections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The supplied user credentials are not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The application version is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system failed to create a new thread.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The socket message command is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The socket message parameters are not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The socket message type is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The socket message is empty or corrupted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The socket message format is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The socket message size is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file is corrupted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system failed to aquire the semaphore.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while communicating with the server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while opening the socket.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while connecting to the server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error while initializing the socket.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an unknown internal error.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusWord</name>
    <message>
        <source>busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>online</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TranscriptOutput</name>
    <message>
        <source>The chat could not be saved to %1.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat could not be printed: the printer could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat could not be printed: the printer refused a new page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chat could not be printed: the print job could not be finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rich Text Format(*.rtf)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>The folder could not be made.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
