#include "canned_tree_model.h"

#include "art_icon_engine.h"

#include <algorithm>

CCannedTreeModel::CCannedTreeModel(QObject* parent) : QAbstractItemModel(parent)
{
    m_categoryIcon = CArtIconEngine::Icon(QStringLiteral(":/ui/folder.svg"));
    m_answerIcon = CArtIconEngine::Icon(QStringLiteral(":/ui/answer.svg"));
}

CCannedTreeModel::~CCannedTreeModel() = default;

void CCannedTreeModel::SetAnswers(const CannedAnswers& categories)
{
    beginResetModel();
    m_categories.clear();
    for (const CannedCategory& source : categories) {
        auto category = std::make_unique<Category>();
        category->name = CCannedText::FromBytes(source.name);
        category->expanded = source.expanded;
        for (const CannedAnswer& answer : source.answers) {
            category->answers.push_back(
                {CCannedText::FromBytes(answer.title), CCannedText::FromBytes(answer.message)});
        }
        m_categories.push_back(std::move(category));
    }
    endResetModel();
}

CannedAnswers CCannedTreeModel::Answers() const
{
    CannedAnswers categories;
    categories.reserve(m_categories.size());
    for (const auto& category : m_categories) {
        CannedCategory& out = categories.emplace_back();
        out.name = category->name.Bytes();
        out.expanded = category->expanded;
        for (const Answer& answer : category->answers)
            out.answers.push_back({answer.title.Bytes(), answer.message.Bytes()});
    }
    return categories;
}

bool CCannedTreeModel::IsCategory(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.internalPointer();
}

bool CCannedTreeModel::IsAnswer(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.internalPointer();
}

QStringList CCannedTreeModel::CategoryNames() const
{
    QStringList names;
    for (const auto& category : m_categories)
        names.append(category->name.Text());
    return names;
}

QModelIndex CCannedTreeModel::AddAnswer(const QString& category, const QString& title,
                                        const QString& message)
{
    return Append(CategoryRow(CCannedText::FromText(category)),
                  {CCannedText::FromText(title), CCannedText::FromText(message)});
}

QModelIndex CCannedTreeModel::EditAnswer(const QModelIndex& answer, const QString& category,
                                         const QString& title, const QString& message)
{
    Category* owner = CategoryOf(answer);
    if (!IsAnswer(answer) || !owner)
        return {};
    const auto row = static_cast<size_t>(answer.row());
    Answer edited = owner->answers[row];
    edited.title.SetText(title);
    edited.message.SetText(message);
    if (category == owner->name.Text()) {
        owner->answers[row] = std::move(edited);
        emit dataChanged(answer, answer);
        return answer;
    }
    beginRemoveRows(answer.parent(), answer.row(), answer.row());
    owner->answers.erase(owner->answers.begin() + answer.row());
    endRemoveRows();
    return Append(CategoryRow(CCannedText::FromText(category)), std::move(edited));
}

void CCannedTreeModel::Remove(const QModelIndex& index)
{
    if (IsCategory(index)) {
        beginRemoveRows({}, index.row(), index.row());
        m_categories.erase(m_categories.begin() + index.row());
        endRemoveRows();
    } else if (Category* owner = CategoryOf(index); owner && IsAnswer(index)) {
        beginRemoveRows(index.parent(), index.row(), index.row());
        owner->answers.erase(owner->answers.begin() + index.row());
        endRemoveRows();
    }
}

bool CCannedTreeModel::RenameCategory(const QModelIndex& category, const QString& name)
{
    if (!IsCategory(category) || name.isEmpty())
        return false;
    m_categories[static_cast<size_t>(category.row())]->name.SetText(name);
    emit dataChanged(category, category);
    return true;
}

int CCannedTreeModel::Merge(const CannedAnswers& categories)
{
    int changed = 0;
    for (const CannedCategory& source : categories) {
        const int categoryRow = CategoryRow(CCannedText::FromBytes(source.name));
        Category& owner = *m_categories[static_cast<size_t>(categoryRow)];
        for (const CannedAnswer& incoming : source.answers) {
            Answer answer{CCannedText::FromBytes(incoming.title),
                          CCannedText::FromBytes(incoming.message)};
            const auto same =
                std::find_if(owner.answers.begin(), owner.answers.end(), [&](const Answer& held) {
                    return held.title.Text() == answer.title.Text();
                });
            if (same == owner.answers.end()) {
                Append(categoryRow, std::move(answer));
            } else if (same->message.Text() != answer.message.Text()) {
                same->message = std::move(answer.message);
                const QModelIndex changedIndex =
                    index(static_cast<int>(same - owner.answers.begin()), 0, index(categoryRow, 0));
                emit dataChanged(changedIndex, changedIndex);
            } else {
                continue;
            }
            ++changed;
        }
    }
    return changed;
}

int CCannedTreeModel::CategoryRow(const CCannedText& name)
{
    const int found = CategoryNames().indexOf(name.Text());
    if (found >= 0)
        return found;
    const int row = static_cast<int>(m_categories.size());
    beginInsertRows({}, row, row);
    auto added = std::make_unique<Category>();
    added->name = name;
    m_categories.push_back(std::move(added));
    endInsertRows();
    return row;
}

QModelIndex CCannedTreeModel::Append(int categoryRow, Answer answer)
{
    Category& owner = *m_categories[static_cast<size_t>(categoryRow)];
    const int row = static_cast<int>(owner.answers.size());
    beginInsertRows(index(categoryRow, 0), row, row);
    owner.answers.push_back(std::move(answer));
    endInsertRows();
    return index(row, 0, index(categoryRow, 0));
}

CCannedTreeModel::Category* CCannedTreeModel::CategoryOf(const QModelIndex& answer) const
{
    return static_cast<Category*>(answer.internalPointer());
}

int CCannedTreeModel::RowOf(const Category* category) const
{
    for (size_t row = 0; row < m_categories.size(); ++row) {
        if (m_categories[row].get() == category)
            return static_cast<int>(row);
    }
    return -1;
}

QModelIndex CCannedTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid()) {
        return row < static_cast<int>(m_categories.size()) ? createIndex(row, 0, nullptr)
                                                           : QModelIndex();
    }
    if (!IsCategory(parent) || parent.row() >= static_cast<int>(m_categories.size()))
        return {};
    Category* category = m_categories[static_cast<size_t>(parent.row())].get();
    return row < static_cast<int>(category->answers.size()) ? createIndex(row, 0, category)
                                                            : QModelIndex();
}

QModelIndex CCannedTreeModel::parent(const QModelIndex& child) const
{
    if (!IsAnswer(child))
        return {};
    const int row = RowOf(CategoryOf(child));
    return row < 0 ? QModelIndex() : createIndex(row, 0, nullptr);
}

int CCannedTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(m_categories.size());
    if (!IsCategory(parent) || parent.row() >= static_cast<int>(m_categories.size()))
        return 0;
    return static_cast<int>(m_categories[static_cast<size_t>(parent.row())]->answers.size());
}

int CCannedTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant CCannedTreeModel::data(const QModelIndex& index, int role) const
{
    if (IsCategory(index)) {
        const Category& category = *m_categories[static_cast<size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return category.name.Text();
        case Qt::DecorationRole:
            return m_categoryIcon;
        case ExpandedRole:
            return category.expanded;
        default:
            return {};
        }
    }
    if (IsAnswer(index)) {
        const Answer& answer = CategoryOf(index)->answers[static_cast<size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return answer.title.Text();
        case Qt::DecorationRole:
            return m_answerIcon;
        case MessageRole:
            return answer.message.Text();
        default:
            return {};
        }
    }
    return {};
}
