#include "row_sequence.h"

#include <QTest>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

struct Item final : CRowSequence::Node
{
    int value = 0;
};

} // namespace

class TestRowSequence : public QObject
{
    Q_OBJECT

private slots:
    void matchesPlainArrayUnderRandomEdits_data();
    void matchesPlainArrayUnderRandomEdits();
    void outOfRangeRowsGiveNothing();
};

void TestRowSequence::matchesPlainArrayUnderRandomEdits_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("topShare"); // percent of insertions at row 0, as the lists do

    QTest::newRow("mixed positions") << 1u << 3000 << 30;
    QTest::newRow("mostly on top") << 7u << 3000 << 90;
    QTest::newRow("grow large then shrink") << 42u << 6000 << 50;
}

void TestRowSequence::matchesPlainArrayUnderRandomEdits()
{
    QFETCH(unsigned, seed);
    QFETCH(int, steps);
    QFETCH(int, topShare);

    std::mt19937 random(seed);
    std::vector<std::unique_ptr<Item>> owned;
    std::vector<Item*> expected;
    CRowSequence rows;
    int next = 0;
    for (int step = 0; step < steps; ++step) {
        const bool growing = step < steps * 2 / 3;
        const bool insert = expected.empty() || random() % 100 < (growing ? 65u : 35u);
        if (insert) {
            const int count = static_cast<int>(expected.size());
            const int at = static_cast<int>(random() % 100) < topShare
                               ? 0
                               : static_cast<int>(random() % static_cast<unsigned>(count + 1));
            auto item = std::make_unique<Item>();
            item->value = next++;
            rows.Insert(at, item.get());
            expected.insert(expected.begin() + at, item.get());
            owned.push_back(std::move(item));
        } else {
            const auto at = random() % expected.size();
            rows.Erase(expected[at]);
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
        }
        QCOMPARE(rows.Count(), static_cast<int>(expected.size()));
        // A full check now and then, and a few sampled rows at every step.
        if (step % 250 == 0 || step == steps - 1) {
            for (int r = 0; r < rows.Count(); ++r) {
                QCOMPARE(rows.At(r), expected[static_cast<std::size_t>(r)]);
                QCOMPARE(rows.RowOf(expected[static_cast<std::size_t>(r)]), r);
                const CRowSequence::Node* below = CRowSequence::Next(expected[r]);
                QCOMPARE(below, r + 1 < rows.Count() ? expected[r + 1] : nullptr);
            }
        } else if (!expected.empty()) {
            for (int k = 0; k < 3; ++k) {
                const auto r = random() % expected.size();
                QCOMPARE(rows.RowOf(expected[r]), static_cast<int>(r));
                QCOMPARE(rows.At(static_cast<int>(r)), expected[r]);
            }
        }
    }
}

void TestRowSequence::outOfRangeRowsGiveNothing()
{
    CRowSequence rows;
    QCOMPARE(rows.At(0), nullptr);
    Item a;
    rows.Insert(0, &a);
    QCOMPARE(rows.At(-1), nullptr);
    QCOMPARE(rows.At(1), nullptr);
    QCOMPARE(CRowSequence::Next(&a), nullptr);
    rows.Erase(&a);
    QCOMPARE(rows.Count(), 0);
    QCOMPARE(rows.At(0), nullptr);
}

QTEST_APPLESS_MAIN(TestRowSequence)
#include "row_sequence_test.moc"
