#pragma once

#include <QWidget>

class CGradientButton;
class QAbstractItemView;
class CGradientLabel;

// The column on the left of the main window: the "View" heading over the five buttons that
// choose what the pane shows, on a panel in the button-highlight colour that runs down to the
// bottom of the window.
class CNavigationColumn final : public QWidget
{
    Q_OBJECT

public:
    explicit CNavigationColumn(QWidget* parent = nullptr);

    CGradientButton* Visitors() const { return m_visitors; }
    CGradientButton* Operators() const { return m_operators; }
    CGradientButton* Reports() const { return m_reports; }
    CGradientButton* Account() const { return m_account; }
    CGradientButton* Tutorial() const { return m_tutorial; }

    CGradientButton* Missed() const { return m_missed; }
    CGradientButton* History() const { return m_history; }

    // A list under its heading below the buttons (the chat requests waiting, the chats open),
    // shown while it has rows. The column takes the list as its child.
    void AddListSection(const QString& heading, QAbstractItemView* list);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CGradientButton* AddButton(const QString& text);

    CGradientLabel* m_panel;
    CGradientLabel* m_heading;
    CGradientButton* m_visitors;
    CGradientButton* m_operators;
    CGradientButton* m_missed;
    CGradientButton* m_history;
    CGradientButton* m_reports;
    CGradientButton* m_account;
    CGradientButton* m_tutorial;
};
