#include "phonebook/domain/pb_list.h"

#include <algorithm>
#include <cstring>

#include "platform/codepage.h"

namespace {
std::string_view numberOf(const _VELK_CONTACT_RECORD& r, int slot) {
    const char* n = r.numbers[slot].number;
    return {n, codepage::FieldLength(n, sizeof r.numbers[slot].number)};
}
}  // namespace

ContactList::~ContactList() { Clear(); }

void ContactList::Clear() {
    for (Node* n = head_; n;) {
        Node* next = n->next;
        delete n;
        n = next;
    }
    head_ = tail_ = cursor_ = nullptr;
    size_ = 0;
    byIndex_.clear();
    byNumber_.clear();
    lengths_.clear();
}

void ContactList::insertOrdered(Bucket& b, Node* n) {
    auto at = std::upper_bound(b.begin(), b.end(), n, [](const Node* a, const Node* x) { return a->order < x->order; });
    b.insert(at, n);
}

void ContactList::erase(Bucket& b, Node* n) {
    auto at = std::find(b.begin(), b.end(), n);
    if (at != b.end()) b.erase(at);
}

void ContactList::indexNumbers(Node* n) {
    std::string_view seen[VELK_NUMBER_SLOTS];
    int count = 0;
    for (int i = 0; i < VELK_NUMBER_SLOTS; ++i) {
        const std::string_view num = numberOf(*n->record, i);
        if (num.empty() || std::find(seen, seen + count, num) != seen + count) continue;
        seen[count++] = num;
        insertOrdered(byNumber_[std::string(num)], n);
        ++lengths_[num.size()];
    }
}

void ContactList::unindexNumbers(Node* n) {
    std::string_view seen[VELK_NUMBER_SLOTS];
    int count = 0;
    for (int i = 0; i < VELK_NUMBER_SLOTS; ++i) {
        const std::string_view num = numberOf(*n->record, i);
        if (num.empty() || std::find(seen, seen + count, num) != seen + count) continue;
        seen[count++] = num;
        auto b = byNumber_.find(std::string(num));
        if (b != byNumber_.end()) {
            erase(b->second, n);
            if (b->second.empty()) byNumber_.erase(b);
        }
        auto l = lengths_.find(num.size());
        if (l != lengths_.end() && --l->second == 0) lengths_.erase(l);
    }
}

Node* ContactList::Append(const _VELK_CONTACT_RECORD& r) {
    auto* n = new Node;
    n->record = std::make_unique<_VELK_CONTACT_RECORD>(r);
    n->order = nextOrder_++;
    if (!head_) {
        head_ = tail_ = n;
    } else {
        n->prev = tail_;
        tail_->next = n;
        tail_ = n;
    }
    ++size_;
    const std::uint32_t index = r.index;  // packed fields are read by value
    byIndex_[index].push_back(n);  // the newest node is last in list order
    indexNumbers(n);
    return n;
}

void ContactList::Replace(Node* node, const _VELK_CONTACT_RECORD& r) {
    if (!node) return;
    unindexNumbers(node);
    const std::uint32_t oldIndex = node->record->index, newIndex = r.index;
    if (oldIndex != newIndex) {
        erase(byIndex_[oldIndex], node);
        insertOrdered(byIndex_[newIndex], node);
    }
    if (node->record.get() != &r) std::memcpy(node->record.get(), &r, sizeof r);
    indexNumbers(node);
}

void ContactList::Remove(Node* node) {
    if (!node) return;
    unindexNumbers(node);
    const std::uint32_t index = node->record->index;
    auto b = byIndex_.find(index);
    if (b != byIndex_.end()) {
        erase(b->second, node);
        if (b->second.empty()) byIndex_.erase(b);
    }
    if (cursor_ == node) cursor_ = node->prev;
    if (node->prev) node->prev->next = node->next;
    else head_ = node->next;
    if (node->next) node->next->prev = node->prev;
    else tail_ = node->prev;
    --size_;
    delete node;
}

Node* ContactList::FindByIndex(std::uint32_t index) const {
    auto b = byIndex_.find(index);
    return b == byIndex_.end() || b->second.empty() ? nullptr : b->second.front();
}

Node* ContactList::FindByNumber(const char* text, std::size_t len) const {
    if (!text || len == 0) return nullptr;
    Node* best = nullptr;
    std::string key;
    for (const auto& [numberLen, count] : lengths_) {
        if (numberLen > len) continue;
        for (std::size_t at = 0; at + numberLen <= len; ++at) {
            key.assign(text + at, numberLen);
            auto b = byNumber_.find(key);
            if (b == byNumber_.end() || b->second.empty()) continue;
            Node* n = b->second.front();
            if (!best || n->order < best->order) best = n;
        }
    }
    return best;
}

Node* ContactList::First() {
    cursor_ = head_;
    return cursor_;
}

Node* ContactList::Next() {
    if (!cursor_ || !cursor_->next) return nullptr;
    cursor_ = cursor_->next;
    return cursor_;
}
