#pragma once

#include <cstdint>
#include <utility>

// Key order of CMap. 32-bit integer keys (name ids, type ids) compare as unsigned values, so
// the empty name id -1 sorts after every other id. Key types may specialise this.
template <typename K>
struct CMapKeyOrder {
    static bool less(const K& a, const K& b) { return a < b; }
};

template <>
struct CMapKeyOrder<int32_t> {
    static bool less(int32_t a, int32_t b) { return uint32_t(a) < uint32_t(b); }
};

template <typename K, typename V>
class CMap;

template <typename K, typename V>
class CMapNode {
public:
    const K key;
    V value;

    CMapNode* parent() const { return m_parent; }
    CMapNode* left() const { return m_left; }
    CMapNode* right() const { return m_right; }
    bool isRed() const { return m_isRed; }

    CMapNode* next() const {
        if (m_right)
            return m_right->leftmost();
        const CMapNode* node = this;
        while (node->m_parent && node == node->m_parent->m_right)
            node = node->m_parent;
        return node->m_parent;
    }

    CMapNode* nextPostOrder() const {
        CMapNode* up = m_parent;
        if (up && this == up->m_left && up->m_right)
            return up->m_right->firstPostOrder();
        return up;
    }

private:
    friend class CMap<K, V>;

    template <typename VV>
    CMapNode(const K& k, VV&& v, CMapNode* parent)
        : key(k), value(std::forward<VV>(v)), m_parent(parent) {}

    CMapNode* leftmost() {
        CMapNode* node = this;
        while (node->m_left)
            node = node->m_left;
        return node;
    }

    CMapNode* firstPostOrder() {
        CMapNode* node = this;
        while (node->m_left || node->m_right)
            node = node->m_left ? node->m_left : node->m_right;
        return node;
    }

    CMapNode* m_parent;
    CMapNode* m_left = nullptr;
    CMapNode* m_right = nullptr;
    bool m_isRed = true;
};

// Forward iterator over nodes, in key order or in post order.
template <typename Node, bool PostOrder>
class CMapIterator {
public:
    CMapIterator() = default;
    explicit CMapIterator(Node* node) : m_node(node) {}

    Node& operator*() const { return *m_node; }
    Node* operator->() const { return m_node; }
    Node* node() const { return m_node; }

    CMapIterator& operator++() {
        if constexpr (PostOrder)
            m_node = m_node->nextPostOrder();
        else
            m_node = m_node->next();
        return *this;
    }

    bool operator==(const CMapIterator& other) const = default;

private:
    Node* m_node = nullptr;
};

// Ordered map as a red-black tree. Inserting an existing key keeps the existing entry.
template <typename K, typename V>
class CMap {
public:
    using Node = CMapNode<K, V>;
    using Iterator = CMapIterator<Node, false>;
    using ConstIterator = CMapIterator<const Node, false>;
    using PostOrderIterator = CMapIterator<Node, true>;

    struct InsertResult {
        Iterator position;
        bool inserted;
    };

    CMap() = default;
    CMap(const CMap& other) { copyFrom(other); }
    CMap(CMap&& other) noexcept
        : m_root(std::exchange(other.m_root, nullptr)), m_size(std::exchange(other.m_size, 0)) {}
    ~CMap() { clear(); }

    CMap& operator=(const CMap& other) {
        if (this != &other) {
            clear();
            copyFrom(other);
        }
        return *this;
    }

    CMap& operator=(CMap&& other) noexcept {
        if (this != &other) {
            clear();
            m_root = std::exchange(other.m_root, nullptr);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }

    Iterator find(const K& key) { return Iterator(findNode(key)); }
    ConstIterator find(const K& key) const { return ConstIterator(findNode(key)); }

    InsertResult insert(const K& key, const V& value) { return insertNode(key, value); }
    InsertResult insert(const K& key, V&& value) { return insertNode(key, std::move(value)); }

    // The entry of the key, created with a default value when missing.
    V& operator[](const K& key) {
        Node* node = findNode(key);
        if (!node)
            node = insertNode(key, V()).position.node();
        return node->value;
    }

    bool erase(const K& key) {
        Node* node = findNode(key);
        if (!node)
            return false;
        eraseNode(node);
        return true;
    }

    void clear() {
        for (PostOrderIterator it = postOrderBegin(); it != postOrderEnd();) {
            Node* node = it.node();
            ++it;
            delete node;
        }
        m_root = nullptr;
        m_size = 0;
    }

    // Inserts every pair of the other map; keys already here keep their values.
    void copyFrom(const CMap& other) {
        if (this == &other)
            return;
        for (const Node& node : other)
            insert(node.key, node.value);
    }

    uint32_t size() const { return m_size; }
    const Node* root() const { return m_root; }

    Iterator begin() { return Iterator(m_root ? m_root->leftmost() : nullptr); }
    Iterator end() { return Iterator(); }
    ConstIterator begin() const { return ConstIterator(m_root ? m_root->leftmost() : nullptr); }
    ConstIterator end() const { return ConstIterator(); }

    // Children before their parent, so a visit may destroy each node after stepping past it.
    PostOrderIterator postOrderBegin() {
        return PostOrderIterator(m_root ? m_root->firstPostOrder() : nullptr);
    }
    PostOrderIterator postOrderEnd() { return PostOrderIterator(); }

private:
    static bool less(const K& a, const K& b) { return CMapKeyOrder<K>::less(a, b); }
    static bool isRed(const Node* node) { return node && node->m_isRed; }

    Node* findNode(const K& key) const {
        Node* node = m_root;
        while (node) {
            if (less(key, node->key))
                node = node->m_left;
            else if (less(node->key, key))
                node = node->m_right;
            else
                return node;
        }
        return nullptr;
    }

    template <typename VV>
    InsertResult insertNode(const K& key, VV&& value) {
        Node* parent = nullptr;
        Node** link = &m_root;
        while (*link) {
            parent = *link;
            if (less(key, parent->key))
                link = &parent->m_left;
            else if (less(parent->key, key))
                link = &parent->m_right;
            else
                return {Iterator(parent), false};
        }
        Node* node = new Node(key, std::forward<VV>(value), parent);
        *link = node;
        ++m_size;
        rebalanceAfterInsert(node);
        return {Iterator(node), true};
    }

    void rebalanceAfterInsert(Node* node) {
        while (isRed(node->m_parent)) {
            Node* parent = node->m_parent;
            Node* grand = parent->m_parent;
            const bool parentIsLeft = parent == grand->m_left;
            Node* uncle = parentIsLeft ? grand->m_right : grand->m_left;
            if (isRed(uncle)) {
                parent->m_isRed = false;
                uncle->m_isRed = false;
                grand->m_isRed = true;
                node = grand;
                continue;
            }
            if (node == (parentIsLeft ? parent->m_right : parent->m_left)) {
                rotate(parent, parentIsLeft);
                node = parent;
                parent = node->m_parent;
            }
            parent->m_isRed = false;
            grand->m_isRed = true;
            rotate(grand, !parentIsLeft);
        }
        m_root->m_isRed = false;
    }

    void eraseNode(Node* node) {
        Node* child;
        Node* childParent;
        bool removedRed = node->m_isRed;
        if (!node->m_left || !node->m_right) {
            child = node->m_left ? node->m_left : node->m_right;
            childParent = node->m_parent;
            replace(node, child);
        } else {
            // The in-order successor takes the node's place; its own slot loses a node.
            Node* next = node->m_right->leftmost();
            removedRed = next->m_isRed;
            child = next->m_right;
            if (next->m_parent == node) {
                childParent = next;
            } else {
                childParent = next->m_parent;
                replace(next, child);
                next->m_right = node->m_right;
                next->m_right->m_parent = next;
            }
            replace(node, next);
            next->m_left = node->m_left;
            next->m_left->m_parent = next;
            next->m_isRed = node->m_isRed;
        }
        delete node;
        --m_size;
        if (!removedRed)
            rebalanceAfterErase(child, childParent);
    }

    // child carries an extra black; childParent is needed because child may be null.
    void rebalanceAfterErase(Node* child, Node* parent) {
        while (child != m_root && !isRed(child)) {
            const bool childIsLeft = child == parent->m_left;
            Node* sibling = childIsLeft ? parent->m_right : parent->m_left;
            if (sibling->m_isRed) {
                sibling->m_isRed = false;
                parent->m_isRed = true;
                rotate(parent, childIsLeft);
                sibling = childIsLeft ? parent->m_right : parent->m_left;
            }
            Node* nearNephew = childIsLeft ? sibling->m_left : sibling->m_right;
            Node* farNephew = childIsLeft ? sibling->m_right : sibling->m_left;
            if (!isRed(nearNephew) && !isRed(farNephew)) {
                sibling->m_isRed = true;
                child = parent;
                parent = child->m_parent;
                continue;
            }
            if (!isRed(farNephew)) {
                nearNephew->m_isRed = false;
                sibling->m_isRed = true;
                rotate(sibling, !childIsLeft);
                sibling = childIsLeft ? parent->m_right : parent->m_left;
            }
            sibling->m_isRed = parent->m_isRed;
            parent->m_isRed = false;
            (childIsLeft ? sibling->m_right : sibling->m_left)->m_isRed = false;
            rotate(parent, childIsLeft);
            child = m_root;
        }
        if (child)
            child->m_isRed = false;
    }

    // Puts replacement (may be null) where node hangs in the tree.
    void replace(Node* node, Node* replacement) {
        Node* parent = node->m_parent;
        if (!parent)
            m_root = replacement;
        else if (node == parent->m_left)
            parent->m_left = replacement;
        else
            parent->m_right = replacement;
        if (replacement)
            replacement->m_parent = parent;
    }

    // Rotates left (the right child rises) or right (the left child rises).
    void rotate(Node* node, bool toLeft) {
        Node* riser = toLeft ? node->m_right : node->m_left;
        Node* moved = toLeft ? riser->m_left : riser->m_right;
        if (toLeft)
            node->m_right = moved;
        else
            node->m_left = moved;
        if (moved)
            moved->m_parent = node;
        replace(node, riser);
        if (toLeft)
            riser->m_left = node;
        else
            riser->m_right = node;
        node->m_parent = riser;
    }

    Node* m_root = nullptr;
    uint32_t m_size = 0;
};
