#pragma once

class QTreeView;

// The look the canned answers trees share: one column without a header, single selection
// that stays visible when the tree loses the focus, no editing in place, dotted lines. The
// dialog's tree has lines and expand buttons at the root as well; the chat window's does not,
// so its categories open by double-click or the keyboard.
void ApplyCannedTreeLook(QTreeView& view, bool linesAtRoot);

// Opens the categories that the file said to open (CCannedTreeModel::ExpandedRole). Run after
// the view's model was filled.
void OpenLoadedCategories(QTreeView& view);
