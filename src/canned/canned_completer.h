#pragma once

#include "canned_answers.h"
#include "canned_matcher.h"
#include "canned_placeholders.h"
#include "canned_uses.h"

#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <functional>
#include <optional>

class CCannedMatchModel;
class QKeyEvent;
class QListView;
class QPlainTextEdit;

// Canned answers at the keyboard, in a chat window's input box. "/" typed at the start of a
// word, or Ctrl+Space anywhere, opens a list of the answers that match what is typed after it
// (CCannedMatcher: fuzzy, most used first). Up and Down choose; Enter, Tab or a click inserts
// the answer in place of what was typed, "/" included, with its placeholders filled
// (FillCannedPlaceholders), as one step to undo; Escape closes the list and leaves the text as
// typed. The list also closes when the cursor leaves what was typed or the text before it
// changes (the "/" deleted), and when the box loses the focus; while nothing matches it is
// hidden, and it shows again when something does.
//
// While the list is open, Escape, Enter, Tab, Up, Down, Page Up and Page Down are the list's:
// neither the window's Escape shortcut nor the window's own Enter handling (an event filter on
// the box that sends the line) sees them. The completer moves its event filter to the front
// each time the list opens, so it comes first whatever was installed after it.
//
// The list is a child widget of the box's window, drawn over the window under what is typed:
// it moves with the window and never takes the focus, which stays in the box throughout.
class CCannedCompleter final : public QObject
{
    Q_OBJECT

public:
    using ContextSource = std::function<CannedContext()>;

    // Attaches to input and lives as long as it, as its child. The answers are taken as they
    // are now. context is asked at each insertion, so a name learnt later is used.
    CCannedCompleter(QPlainTextEdit* input, const CannedAnswers& answers, ContextSource context);
    ~CCannedCompleter() override;

    // Inserts an answer at the box's cursor, in place of any selected text, with its
    // placeholders filled, as one step to undo, and counts its use. For the chat window's
    // canned answers panel.
    void InsertAnswer(const QString& category, const QString& title, const QString& message);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsOpen() const;
    bool OnKeyPress(const QKeyEvent& key);
    void OnCursorMoved();
    void Begin(int position, bool slash);
    void End();
    void Refresh();
    void Place();
    void Step(int rows, bool wrap);
    void InsertRow(int row);
    void Put(QTextCursor where, const QString& category, const QString& title,
             const QString& message);

    QPlainTextEdit* m_input;
    ContextSource m_context;
    // Until the list first opens, when the matcher takes them in: a chat window opens without
    // that cost, and many never need it.
    std::optional<CannedAnswers> m_answers;
    CCannedMatcher m_matcher;
    CCannedUses m_uses;
    CCannedMatchModel* m_model;
    QPointer<QListView> m_list;

    // Where the typed query starts: at the "/", or where Ctrl+Space was pressed. It follows
    // edits before it; when it moves, the text before the query changed and the list closes.
    QTextCursor m_start;
    int m_startPosition = 0;
    bool m_active = false;
    bool m_slash = false;
    // Where a "/" key was pressed at the start of a word, until the box has inserted it.
    int m_slashTyped = -1;
    std::optional<QString> m_query;
};
