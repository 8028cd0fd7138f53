#include "canned_tree_look.h"

#include "canned_tree_model.h"
#include "tree_lines_style.h"

#include <QTreeView>

void ApplyCannedTreeLook(QTreeView& view, bool linesAtRoot)
{
    view.setHeaderHidden(true);
    view.setRootIsDecorated(linesAtRoot);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setUniformRowHeights(true);
    // The style is not owned by the view; as its child it goes with it.
    auto* lines = new CTreeLinesStyle;
    lines->setParent(&view);
    view.setStyle(lines);

    // Some palettes paint the selection of an unfocused view in the background colour.
    QPalette palette = view.palette();
    if (palette.color(QPalette::Inactive, QPalette::Highlight) ==
        palette.color(QPalette::Inactive, QPalette::Base)) {
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
        view.setPalette(palette);
    }
}

void OpenLoadedCategories(QTreeView& view)
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex category = model->index(row, 0);
        if (category.data(CCannedTreeModel::ExpandedRole).toBool())
            view.expand(category);
    }
}
