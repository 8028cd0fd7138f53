#pragma once

#include "canned_answers.h"
#include "canned_text.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QStringList>
#include <memory>
#include <vector>

// The canned answers as a tree: categories at the root, their answers beneath, no deeper level.
// An answer shows its title and carries its message (MessageRole); a category carries its name
// and no message. Texts keep the bytes they were read with until they are changed (see
// CCannedText), so a tree that is only looked at writes back the file it came from.
class CCannedTreeModel final : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role
    {
        MessageRole = Qt::UserRole + 1, // QString, answers only
        ExpandedRole,                   // bool, categories only: opened when first shown
    };

    explicit CCannedTreeModel(QObject* parent = nullptr);
    ~CCannedTreeModel() override;

    void SetAnswers(const CannedAnswers& categories);
    CannedAnswers Answers() const;

    bool IsCategory(const QModelIndex& index) const;
    bool IsAnswer(const QModelIndex& index) const;
    // The names at the root, in tree order.
    QStringList CategoryNames() const;

    // Appends the answer to the first category named exactly so (letter case counts), or to a
    // new category appended at the end when there is none. Returns the new answer.
    QModelIndex AddAnswer(const QString& category, const QString& title, const QString& message);
    // Changes an answer in place when the category is its own, else moves it to the end of the
    // category as AddAnswer finds or makes it; the old category stays, even empty. Returns the
    // answer where it now is; an invalid index when the given one is not an answer.
    QModelIndex EditAnswer(const QModelIndex& answer, const QString& category, const QString& title,
                           const QString& message);
    // A category goes with its answers.
    void Remove(const QModelIndex& index);
    // False when the index is not a category or the name is empty.
    bool RenameCategory(const QModelIndex& category, const QString& name);
    // Takes in answers from elsewhere (an import), keeping their bytes: each goes to the first
    // category of its name, made at the end when there is none; an answer whose title that
    // category holds already replaces that answer's message, others are appended. Importing the
    // same answers twice changes nothing. Returns how many answers were added or changed.
    int Merge(const CannedAnswers& categories);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Answer
    {
        CCannedText title;
        CCannedText message;
    };
    struct Category
    {
        CCannedText name;
        std::vector<Answer> answers;
        bool expanded = false;
    };

    // Null for a category index; an answer's index points at its category.
    Category* CategoryOf(const QModelIndex& answer) const;
    int RowOf(const Category* category) const;
    // The row of the first category with that name, appended when there is none.
    int CategoryRow(const CCannedText& name);
    QModelIndex Append(int categoryRow, Answer answer);

    std::vector<std::unique_ptr<Category>> m_categories;
    QIcon m_categoryIcon;
    QIcon m_answerIcon;
};
