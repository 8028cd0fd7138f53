#pragma once

#include <QDialog>

class CFlatButton;
class CInviteListModel;
class CNotifier;
class COperatorSession;
class QTreeView;

// "Parlendo": picks the operator to invite into the current call, from the session's operators
// as they stand when the dialog opens (read under the list's lock), the operator left out. OK
// is open only while an operator is selected; a double click or Enter on one confirms.
class CInviteDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kNameWidth = 122;
    static constexpr int kStatusWidth = 60;

    CInviteDlg(COperatorSession& session, CNotifier& notifier, QWidget* parent = nullptr);

    // The confirmed operator's id; -1 until the dialog is accepted.
    int SelectedOperatorId() const { return m_selectedId; }
    QTreeView* List() const { return m_list; }
    CFlatButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    void UpdateOk();

    CNotifier& m_notifier;
    CInviteListModel* m_model;
    QTreeView* m_list;
    CFlatButton* m_ok;
    int m_selectedId = -1;
};
