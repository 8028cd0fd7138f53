#pragma once

#include <cstdint>

// The rows of a list in display order, kept so that inserting at any row, removing any row and
// finding the row number of a given row all take logarithmic time. The lists insert new rows
// above existing ones and find rows by id for every server event; with a plain array every such
// event would renumber or scan the rows below.
//
// Rows are intrusive: a list's row record derives from Node. The sequence only links nodes; it
// never allocates or frees them, so a record belongs to whoever created it.
class CRowSequence final
{
public:
    struct Node
    {
        Node* left = nullptr;
        Node* right = nullptr;
        Node* parent = nullptr;
        std::uint32_t priority = 0;
        int size = 1; // nodes in the subtree rooted here
    };

    CRowSequence() = default;
    CRowSequence(const CRowSequence&) = delete;
    CRowSequence& operator=(const CRowSequence&) = delete;

    int Count() const { return Size(m_root); }

    // Links a node that is in no sequence so that it becomes row `row` (0 <= row <= Count()).
    void Insert(int row, Node* node);
    // Unlinks a node of this sequence; the rows below it move up by one.
    void Erase(Node* node);
    // The row number of a node of this sequence.
    int RowOf(const Node* node) const;
    // The node at a row, or null when the row is out of range.
    Node* At(int row) const;
    // The node one row below, or null for the last row.
    static Node* Next(const Node* node);
    // Forgets every node at once (the nodes are not touched).
    void Clear() { m_root = nullptr; }

private:
    static int Size(const Node* node) { return node ? node->size : 0; }
    static void Update(Node* node);
    static Node* Merge(Node* a, Node* b);
    // Splits a subtree into its first `count` nodes and the rest.
    static void Split(Node* tree, int count, Node*& first, Node*& rest);
    std::uint32_t NextPriority();

    Node* m_root = nullptr;
    std::uint32_t m_seed = 0x9E3779B9u;
};
