#pragma once

#include <QTableView>
#include <cstdint>
#include <functional>
#include <vector>

class CVisitorListModel;
class CVisitorRowDelegate;

// The visitors list as the operator sees it: a report list of 48-pixel rows drawn by
// CVisitorRowDelegate, several rows selectable, the selection always shown. It tells the window
// when Invite to Chat should follow the selection, and asks, on a double click on a row,
// whether to invite; the window then runs its invitation command.
//
// A table rather than a tree: a tree view lays out every row again for each row inserted, which
// with thousands of visitors listed made each arrival cost in proportion to the list; the table
// keeps its rows' places in its vertical header, where an insertion costs next to nothing.
class CVisitorListCtrl final : public QTableView
{
    Q_OBJECT

public:
    // Puts a Yes/No question to the operator and returns whether the answer was Yes.
    using Asker = std::function<bool(QWidget* parent, const QString& question)>;

    static constexpr int kDefaultWidth0 = 410;
    static constexpr int kDefaultWidth1 = 100;

    explicit CVisitorListCtrl(QWidget* parent = nullptr);

    // The list shows a CVisitorListModel; any other model is shown but cannot be marked.
    void setModel(QAbstractItemModel* model) override;
    CVisitorListModel* VisitorModel() const;
    // The column headings, whose widths the window keeps between runs.
    QHeaderView* header() const { return horizontalHeader(); }

    // Until set, a message box asks.
    void SetAsker(Asker asker);

    bool HasSelection() const;
    // The visitor ids of the selected rows from the top, those above 0 only.
    std::vector<std::int32_t> SelectedIds() const;
    // The invitation command: marks every selected row with an id above 0 as invited and
    // returns those ids from the top.
    std::vector<std::int32_t> MarkSelectedInvited();

    static QString InviteQuestion();

signals:
    // Invite to Chat is enabled exactly while this is true (and the operator is logged in).
    void SelectionPresenceChanged(bool hasSelection);
    // The operator double-clicked a row and said Yes to inviting the selected visitors.
    void InviteRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    // The row with the keyboard focus is framed only while the list has the focus, and the frame
    // runs across both cells: both are drawn again when the focus comes or goes.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void CheckSelection();
    void OnDoubleClicked(const QModelIndex& index);
    std::vector<int> SelectedRowsFromTop() const;

    CVisitorRowDelegate* m_delegate; // a child of the view
    Asker m_asker;
    bool m_hadSelection = false;
    std::vector<QMetaObject::Connection> m_modelConnections;
};
