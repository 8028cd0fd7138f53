#pragma once

#include <QListView>

class CCallOffers;

// The chat requests waiting now, under the main window's View column, oldest first: who asks,
// what the request carries, and how long it has waited, counted up as it waits. Double-click or
// Enter accepts one.
class COffersView final : public QListView
{
    Q_OBJECT

public:
    explicit COffersView(CCallOffers& offers, QWidget* parent = nullptr);

    QSize sizeHint() const override;
};
