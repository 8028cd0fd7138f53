#pragma once

#include "session_values.h"

#include <QDialog>
#include <vector>

class CFlatButton;
class CInviteListModel;
class CNotifier;
class QTreeView;

// "Parlendo": picks the operator to invite into the current call, from the operators as they
// stood when the dialog opened, the operator left out. OK is open only while an operator is
// selected; a double click or Enter on one confirms.
class CInviteDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kNameWidth = 122;
    static constexpr int kStatusWidth = 60;

    CInviteDlg(const std::vector<CUserEntry>& operators, int ownOperatorId, CNotifier& notifier,
               QWidget* parent = nullptr);

    // The confirmed operator's id; -1 until the dialog is accepted.
    int SelectedOperatorId() const { return m_selectedId; }

    void accept() override;

private:
    void UpdateOk();

    CNotifier& m_notifier;
    CInviteListModel* m_model;
    QTreeView* m_list;
    CFlatButton* m_ok;
    int m_selectedId = -1;
};
