// The contacts of one storage: a doubly linked list of owned record copies in
// load-and-add order, with the shared walking cursor, and two indexes kept in
// step with it so lookups by index and by number do not scan the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "velkdev/velkdev.h"

struct Node {
    Node* prev = nullptr;
    std::unique_ptr<_VELK_CONTACT_RECORD> record;
    Node* next = nullptr;
    std::uint64_t order = 0;  // grows along the list: list order by number
};

class ContactList {
public:
    ContactList() = default;
    ~ContactList();
    ContactList(const ContactList&) = delete;
    ContactList& operator=(const ContactList&) = delete;

    // Frees every node; the cursor is unset.
    void Clear();
    // Appends a copy of r at the tail.
    Node* Append(const _VELK_CONTACT_RECORD& r);
    // Overwrites a node's record (its place in the list stays).
    void Replace(Node* node, const _VELK_CONTACT_RECORD& r);
    // Unlinks and frees a node. A cursor on it steps back to its predecessor,
    // so a walk goes on with the node that followed.
    void Remove(Node* node);

    // The first node in list order whose record has this index.
    Node* FindByIndex(std::uint32_t index) const;
    // The first node in list order with a non-empty number slot whose number
    // occurs in text[0..len) (byte-exact substring); null when none.
    Node* FindByNumber(const char* text, std::size_t len) const;

    Node* Head() const { return head_; }
    Node* Tail() const { return tail_; }
    std::size_t Size() const { return size_; }

    // The walk: First sets the cursor to the head, Next moves it on; each
    // yields the node, or null (empty list, cursor unset or at the tail).
    Node* First();
    Node* Next();
    Node* Cursor() const { return cursor_; }
    void SetCursor(Node* node) { cursor_ = node; }

private:
    using Bucket = std::vector<Node*>;  // in list order
    static void insertOrdered(Bucket& b, Node* n);
    static void erase(Bucket& b, Node* n);
    void indexNumbers(Node* n);
    void unindexNumbers(Node* n);

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    Node* cursor_ = nullptr;
    std::size_t size_ = 0;
    std::uint64_t nextOrder_ = 1;

    std::unordered_map<std::uint32_t, Bucket> byIndex_;
    std::unordered_map<std::string, Bucket> byNumber_;
    // How many distinct (node, number) entries have each number length, so a
    // search tries only the lengths that exist.
    std::unordered_map<std::size_t, std::size_t> lengths_;
};
