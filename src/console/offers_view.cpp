#include "offers_view.h"

#include "call_offers.h"
#include "shown_text.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QShortcut>
#include <QTimer>

namespace {

// The offers as rows, refreshed as they come and go and every second for the waiting time.
class COffersModel final : public QAbstractListModel
{
    Q_DECLARE_TR_FUNCTIONS(COffersModel)

public:
    explicit COffersModel(CCallOffers& offers, QObject* parent)
        : QAbstractListModel(parent), m_offers(offers), m_clock(new QTimer(this))
    {
        m_clock->setInterval(1000);
        connect(m_clock, &QTimer::timeout, this, [this] {
            if (rowCount() > 0)
                emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
        });
        connect(&m_offers, &CCallOffers::Changed, this, [this] {
            beginResetModel();
            endResetModel();
            if (rowCount() > 0)
                m_clock->start();
            else
                m_clock->stop();
        });
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_offers.Offers().size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const CCallOffers::Offer& offer = m_offers.Offers().at(index.row());
        const auto& carried = offer.call.Carried();
        const QString what = carried ? ShownLine(*carried, 200) : QString();
        switch (role) {
        case Qt::DisplayRole: {
            const qint64 waited = offer.arrived.secsTo(QDateTime::currentDateTime());
            QString line = tr("%1 (%2 s)").arg(Caller(offer.call)).arg(waited);
            return what.isEmpty() ? line : line + QLatin1Char('\n') + what;
        }
        case Qt::ToolTipRole:
            return PlainToolTip(offer.notice + QLatin1Char('\n') + what + QLatin1Char('\n') +
                                tr("Double-click or Enter accepts."));
        case Qt::AccessibleTextRole:
            return offer.notice + QLatin1Char(' ') + what;
        default:
            return {};
        }
    }

    static QString Caller(const CIncomingCall& call)
    {
        if (call.kind == CIncomingCall::kKindTransfer)
            return tr("Transfer from %1")
                .arg(ShownLine(call.text1.value_or(QString()) + QLatin1Char(' ') +
                                   call.text2.value_or(QString()),
                               60)
                         .trimmed());
        return ShownLine(call.text1.value_or(QString()), 60);
    }

private:
    CCallOffers& m_offers;
    QTimer* m_clock;
};

} // namespace

COffersView::COffersView(CCallOffers& offers, QWidget* parent) : QListView(parent)
{
    setObjectName(QStringLiteral("waitingOffers"));
    setAccessibleName(tr("Chat requests waiting"));
    setModel(new COffersModel(offers, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(true);
    setTextElideMode(Qt::ElideRight);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Accepting takes a deliberate act, a double click or Enter, on every desktop: a stray
    // click only selects.
    const auto accept = [this, &offers] {
        const QModelIndex index = currentIndex();
        if (index.isValid() && index.row() < offers.Offers().size())
            offers.Accept(offers.Offers().at(index.row()).call.callId);
    };
    connect(this, &QAbstractItemView::doubleClicked, this, accept);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, accept);
    }
}

QSize COffersView::sizeHint() const
{
    return {QListView::sizeHint().width(), fontMetrics().height() * 6};
}
