#pragma once

#include <QListView>

class CActiveChats;

// The active chats under the main window's View column: one row per open chat with the
// visitor's name, the lines the operator has not seen, how long ago the visitor last wrote, and
// whether the visitor is typing or the chat has ended. A click (or Enter) brings the chat to the
// front.
class CActiveChatsView final : public QListView
{
    Q_OBJECT

public:
    explicit CActiveChatsView(CActiveChats& chats, QWidget* parent = nullptr);

    QSize sizeHint() const override;

private:
    CActiveChats& m_chats;
};
