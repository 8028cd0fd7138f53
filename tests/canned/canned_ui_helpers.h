#pragma once

// Helpers of the canned answers widget tests: a scratch data folder per test, finding items
// by their texts, clicking them, and acting on the dialog a modal exec() runs.

#include "canned_answers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace canned_testing {

inline QByteArray Bytes(const CannedAnswers& tree)
{
    const std::string bytes = SerializeCannedAnswers(tree);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Points the operator's files at a fresh folder for as long as it lives.
class ScratchData final
{
public:
    ScratchData()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    }
    bool IsValid() const { return m_dir.isValid(); }
    QString Folder() const { return m_dir.path() + QStringLiteral("/Parlendo"); }
    QString File() const { return Folder() + QStringLiteral("/canned.dat"); }

private:
    QTemporaryDir m_dir;
};

template <typename Widget> Widget* Child(const QObject* parent, const char* name)
{
    auto* child = parent->findChild<Widget*>(QLatin1String(name));
    if (!child)
        qFatal("no %s", name);
    return child;
}

// The answer titled title under category, or the category itself when title is empty.
inline QModelIndex Item(const QAbstractItemModel& model, const QString& category,
                        const QString& title = {})
{
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex parent = model.index(row, 0);
        if (parent.data().toString() != category)
            continue;
        if (title.isEmpty())
            return parent;
        for (int child = 0; child < model.rowCount(parent); ++child) {
            if (model.index(child, 0, parent).data().toString() == title)
                return model.index(child, 0, parent);
        }
    }
    return {};
}

// The tree as "Category: title, title | Category: ..." for compact comparisons.
inline QString Outline(const QAbstractItemModel& model)
{
    QStringList categories;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex parent = model.index(row, 0);
        QStringList titles;
        for (int child = 0; child < model.rowCount(parent); ++child)
            titles.append(model.index(child, 0, parent).data().toString());
        categories.append(parent.data().toString() + QStringLiteral(": ") +
                          titles.join(QStringLiteral(", ")));
    }
    return categories.join(QStringLiteral(" | "));
}

// A double click comes as the platform sends it: a click, then a press that is a double click.
inline void Click(QAbstractItemView& view, const QModelIndex& index, bool twice = false)
{
    view.scrollTo(index);
    const QPoint at = view.visualRect(index).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
    }
}

// Acts on the dialog that the next exec() runs, once it is up; the action closes it. Anything
// else modal by then is rejected, so a test cannot hang on it. ran counts the actions.
template <typename Dialog> void OnNextModal(std::function<void(Dialog&)> act, int* ran = nullptr)
{
    QTimer::singleShot(0, [act = std::move(act), ran] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            if (ran)
                ++*ran;
            act(*dialog);
        }
        if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            other && other->isVisible())
            other->reject();
    });
}

} // namespace canned_testing
