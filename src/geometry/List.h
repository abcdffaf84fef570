#pragma once

#include "geometry/Pool.h"

#include <cstdint>
#include <iostream>
#include <vector>

// One link of a List: the item pointer and both neighbours.
template <typename T>
struct Node
{
    Node() = default;
    explicit Node(T *thisItem) : item(thisItem) {}

    Node *next = nullptr; // following node, null at the tail
    Node *prev = nullptr; // preceding node, null at the head
    T *item = nullptr;    // never interpreted or owned by the list
};

namespace listdiag {
// Misuse is reported as one flushed line; the list never throws.
inline void error(const char *text)
{
    std::cerr << text << std::endl;
}
inline void output(const char *text)
{
    std::cout << text << std::endl;
}
} // namespace listdiag

// Doubly linked list of item pointers with 1-based positional access.
// The list owns its nodes and its index cache, never the items: an owner
// that discards a list of points deletes the items itself. Every insertion
// and removal invalidates the cache; the next inner indexNode() rebuilds it.
// checkDuplicates: the identity scans run only when it equals 1.
// Nodes come from a pool owned by the list, so a long list costs no heap
// block per node and releaseNodes() takes them all back in one sweep.
template <typename T>
class List
{
public:
    using NodeType = Node<T>;

    List() = default;
    List(const List &) = delete;
    List &operator=(const List &) = delete;
    ~List() = default; // the pool frees every node

    // Makes a node for item and links it after the tail. False (with a
    // diagnostic) for a null item or a duplicate when checking.
    bool append(T *item, int checkDuplicates);

    // A new unlinked node for item, from this list's storage. The only
    // way to make a node for appendNode(); a node that is never linked is
    // still released with the list.
    NodeType *makeNode(T *item) { return nodes.make(item); }

    // Up to wanted (at least 1) consecutive node slots from this list's
    // storage, for a writer that appends many nodes in a row; taken tells
    // how many. The slots hold no nodes: construct each (placement new)
    // before linking it, and keep count, head, tail and cacheValid as
    // appendNode() would. Slots never used are released with the list.
    NodeType *takeNodes(std::size_t wanted, std::size_t &taken) { return nodes.takeRun(wanted, taken); }

    // Links a node made by makeNode() after the tail.
    bool appendNode(NodeType *node, int checkDuplicates);

    // Makes a node for item directly after afterThisNode, which must be in
    // this list.
    bool addAfterNode(T *item, NodeType *afterThisNode, int checkDuplicates);

    // Mirror image of addAfterNode; its diagnostics go to standard output.
    bool addBeforeNode(T *item, NodeType *beforeThisNode, int checkDuplicates);

    // As addAfterNode, after the first node holding afterThisItem.
    bool addAfter(T *item, T *afterThisItem, int checkDuplicates);

    // The i-th node, 1-based, or null. Constant time while unchanged.
    NodeType *indexNode(std::uint32_t i);

    // First node from the head whose item is item, or null (silent when
    // the item is simply absent).
    NodeType *node(T *item);

    // Unlinks and frees node; the item is left alone.
    void removeNode(NodeType *node);

    // Rebuilds the index cache from the chain.
    void syncCache();

    // Frees every node (not the items) and leaves the list empty. The
    // node storage stays for the next insertions; see trimStorage().
    void releaseNodes();

    // Gives back node storage that the nodes made since the last
    // releaseNodes() did not need. True when some was given back.
    bool trimStorage() { return nodes.trim(); }

    std::uint32_t count = 0;
    NodeType *head = nullptr;
    NodeType *tail = nullptr;
    bool cacheValid = false;
    std::vector<NodeType *> cache; // slot i holds node i once synced; slot 0 unused

private:
    Pool<NodeType> nodes;

    bool contains(const NodeType *node) const;
    bool holdsItem(T *item, const char *duplicateText, bool toOutput);
    void linked()
    {
        cacheValid = false;
        ++count;
    }
};

template <typename T>
bool List<T>::contains(const NodeType *node) const
{
    for (const NodeType *n = head; n; n = n->next)
        if (n == node)
            return true;
    return false;
}

template <typename T>
bool List<T>::holdsItem(T *item, const char *duplicateText, bool toOutput)
{
    for (std::uint32_t i = 1; i <= count; ++i) {
        if (indexNode(i)->item == item) {
            toOutput ? listdiag::output(duplicateText) : listdiag::error(duplicateText);
            return true;
        }
    }
    return false;
}

template <typename T>
bool List<T>::append(T *item, int checkDuplicates)
{
    if (!item) {
        listdiag::error("> List::append: thisitem is NULL.");
        return false;
    }
    if (checkDuplicates == 1 && holdsItem(item, "> List::appendNode: item already exists in list.", false))
        return false;
    return appendNode(makeNode(item), checkDuplicates);
}

template <typename T>
bool List<T>::appendNode(NodeType *node, int checkDuplicates)
{
    if (!node) {
        listdiag::error("> List::appendNode: thisnode is NULL.");
        return false;
    }
    if (checkDuplicates == 1 && contains(node)) {
        listdiag::error("> List::appendNode: item already exists in list.");
        return false;
    }
    node->next = nullptr;
    if (count != 0) {
        tail->next = node;
        node->prev = tail;
        tail = node;
    } else {
        node->prev = nullptr;
        head = tail = node;
    }
    linked();
    return true;
}

template <typename T>
bool List<T>::addAfterNode(T *item, NodeType *afterThisNode, int checkDuplicates)
{
    if (!item || !afterThisNode) {
        listdiag::error("> List::addAfterNode: thisitem is NULL.");
        return false;
    }
    if (!contains(afterThisNode)) {
        listdiag::error("> List::addAfterNode: afterThisNode not in list.");
        return false;
    }
    if (checkDuplicates == 1 && holdsItem(item, "> List::addAfterNode: thisitem is already in list.", false))
        return false;
    NodeType *n = makeNode(item);
    n->prev = afterThisNode;
    if (!afterThisNode->next) {
        afterThisNode->next = n;
        tail = n;
    } else {
        n->next = afterThisNode->next;
        afterThisNode->next->prev = n;
        afterThisNode->next = n;
    }
    linked();
    return true;
}

template <typename T>
bool List<T>::addBeforeNode(T *item, NodeType *beforeThisNode, int checkDuplicates)
{
    if (!item) {
        listdiag::output("> List::addBeforeNode: thisitem is NULL.");
        return false;
    }
    if (!beforeThisNode) {
        listdiag::output("> List::addBeforeNode: beforeThisItem is NULL.");
        return false;
    }
    if (!contains(beforeThisNode)) {
        listdiag::output("> List::addBeforeNode: beforeThisNode not in list.");
        return false;
    }
    if (checkDuplicates == 1 && holdsItem(item, "> List::addBeforeNode: thisitem is already in list.", true))
        return false;
    NodeType *n = makeNode(item);
    n->next = beforeThisNode;
    if (!beforeThisNode->prev) {
        beforeThisNode->prev = n;
        head = n;
    } else {
        n->prev = beforeThisNode->prev;
        beforeThisNode->prev->next = n;
        beforeThisNode->prev = n;
    }
    linked();
    return true;
}

template <typename T>
bool List<T>::addAfter(T *item, T *afterThisItem, int checkDuplicates)
{
    if (!item) {
        listdiag::error("> List::addAfter: thisitem is NULL.");
        return false;
    }
    if (!afterThisItem) {
        listdiag::error("List::addAfter: afterThisItem is NULL.");
        return false;
    }
    NodeType *found = nullptr;
    for (std::uint32_t i = 1; i <= count && !found; ++i) {
        NodeType *n = indexNode(i);
        if (n->item == afterThisItem)
            found = n;
    }
    return addAfterNode(item, found, checkDuplicates);
}

template <typename T>
typename List<T>::NodeType *List<T>::indexNode(std::uint32_t i)
{
    if (i > count) {
        std::cerr << "> List::indexNode: " << i << " > list length." << std::endl;
        return nullptr;
    }
    if (i < 1) {
        std::cerr << "> List::indexNode: index " << i << " < 1." << std::endl;
        return nullptr;
    }
    if (i == 1)
        return head;
    if (i == count)
        return tail;
    if (!cacheValid)
        syncCache();
    NodeType *n = i < cache.size() ? cache[i] : nullptr;
    if (!n)
        listdiag::error("> List::indexNode: Warning! Returned NULL!");
    return n;
}

template <typename T>
typename List<T>::NodeType *List<T>::node(T *item)
{
    if (!item) {
        listdiag::error("> List:node: thisItem is NULL.");
        return nullptr;
    }
    for (std::uint32_t i = 1; i <= count; ++i) {
        NodeType *n = indexNode(i);
        if (n->item == item)
            return n;
    }
    return nullptr;
}

template <typename T>
void List<T>::removeNode(NodeType *node)
{
    if (!node) {
        listdiag::error("> List::removeIndex: Node is NULL");
        return;
    }
    if (!node->prev) {
        if (!node->next) {
            head = tail = nullptr;
        } else {
            node->next->prev = nullptr;
            head = node->next;
        }
    } else if (!node->next) {
        node->prev->next = nullptr;
        tail = node->prev;
    } else {
        node->prev->next = node->next;
        node->next->prev = node->prev;
    }
    nodes.release(node);
    cacheValid = false;
    --count;
}

template <typename T>
void List<T>::syncCache()
{
    if (!head) {
        listdiag::error("> syncCache(): head is NULL.");
        return;
    }
    cache.assign(count + 1, nullptr);
    std::uint32_t i = 1;
    for (NodeType *n = head; n && i <= count; n = n->next)
        cache[i++] = n;
    cacheValid = true;
}

template <typename T>
void List<T>::releaseNodes()
{
    nodes.clear();
    head = tail = nullptr;
    count = 0;
    cacheValid = false;
}
