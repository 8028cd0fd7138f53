#include "row_sequence.h"

// A treap ordered by position: a binary tree in row order whose random priorities keep it
// balanced in expectation, with subtree sizes for row numbers and parent links so that a row
// can be found from its node.

void CRowSequence::Update(Node* node)
{
    node->size = 1 + Size(node->left) + Size(node->right);
}

CRowSequence::Node* CRowSequence::Merge(Node* a, Node* b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    if (a->priority > b->priority) {
        a->right = Merge(a->right, b);
        a->right->parent = a;
        Update(a);
        return a;
    }
    b->left = Merge(a, b->left);
    b->left->parent = b;
    Update(b);
    return b;
}

void CRowSequence::Split(Node* tree, int count, Node*& first, Node*& rest)
{
    if (!tree) {
        first = rest = nullptr;
        return;
    }
    if (Size(tree->left) < count) {
        Node* right = tree->right;
        Split(right, count - Size(tree->left) - 1, tree->right, rest);
        if (tree->right)
            tree->right->parent = tree;
        first = tree;
    } else {
        Node* left = tree->left;
        Split(left, count, first, tree->left);
        if (tree->left)
            tree->left->parent = tree;
        rest = tree;
    }
    Update(tree);
}

std::uint32_t CRowSequence::NextPriority()
{
    // xorshift32: cheap, and good enough to keep the tree's depth logarithmic.
    m_seed ^= m_seed << 13;
    m_seed ^= m_seed >> 17;
    m_seed ^= m_seed << 5;
    return m_seed;
}

void CRowSequence::Insert(int row, Node* node)
{
    node->left = node->right = node->parent = nullptr;
    node->size = 1;
    node->priority = NextPriority();
    Node* first = nullptr;
    Node* rest = nullptr;
    Split(m_root, row, first, rest);
    m_root = Merge(Merge(first, node), rest);
    m_root->parent = nullptr;
}

void CRowSequence::Erase(Node* node)
{
    Node* replacement = Merge(node->left, node->right);
    Node* parent = node->parent;
    if (replacement)
        replacement->parent = parent;
    if (!parent)
        m_root = replacement;
    else if (parent->left == node)
        parent->left = replacement;
    else
        parent->right = replacement;
    for (Node* up = parent; up; up = up->parent)
        --up->size;
    node->left = node->right = node->parent = nullptr;
    node->size = 1;
}

int CRowSequence::RowOf(const Node* node) const
{
    int row = Size(node->left);
    for (const Node* n = node; n->parent; n = n->parent) {
        if (n == n->parent->right)
            row += Size(n->parent->left) + 1;
    }
    return row;
}

CRowSequence::Node* CRowSequence::At(int row) const
{
    if (row < 0 || row >= Count())
        return nullptr;
    Node* n = m_root;
    for (;;) {
        const int left = Size(n->left);
        if (row < left) {
            n = n->left;
        } else if (row == left) {
            return n;
        } else {
            row -= left + 1;
            n = n->right;
        }
    }
}

CRowSequence::Node* CRowSequence::Next(const Node* node)
{
    if (node->right) {
        Node* n = node->right;
        while (n->left)
            n = n->left;
        return n;
    }
    const Node* n = node;
    while (n->parent && n == n->parent->right)
        n = n->parent;
    return n->parent;
}
