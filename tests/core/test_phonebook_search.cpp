// The number search of a contact list: a stored number matches any text that
// contains it, an empty slot never matches, the first contact in list order
// wins, and the indexes follow every add, change and delete.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "phonebook/domain/pb_list.h"

namespace {

_VELK_CONTACT_RECORD contact(std::uint32_t index, std::vector<std::string> numbers) {
    _VELK_CONTACT_RECORD r{};
    r.index = index;
    r.storage = 2;
    for (std::size_t i = 0; i < numbers.size() && i < VELK_NUMBER_SLOTS; ++i)
        std::strncpy(r.numbers[i].number, numbers[i].c_str(), sizeof r.numbers[i].number - 1);
    return r;
}

// The rule as stated: walk in list order, the first contact with a non-empty
// number that occurs in the text.
const Node* reference(const ContactList& list, const std::string& text) {
    for (const Node* n = list.Head(); n; n = n->next)
        for (const auto& slot : n->record->numbers)
            if (slot.number[0] && text.find(slot.number) != std::string::npos) return n;
    return nullptr;
}

std::uint32_t found(const ContactList& list, const std::string& text) {
    const Node* n = list.FindByNumber(text.data(), text.size());
    return n ? n->record->index : 0;
}

TEST(PhonebookSearch, SubstringFirstInListOrder) {
    ContactList list;
    list.Append(contact(1, {"", "", ""}));                // no numbers: never found
    list.Append(contact(2, {"", "13800138000"}));         // home number only
    list.Append(contact(3, {"8613800138000"}));           // longer, but later in the list
    list.Append(contact(4, {"555", "555"}));              // the same number twice
    struct Case {
        const char* text;
        std::uint32_t index;
    } cases[] = {
        {"+8613800138000", 2},   // stored without the country prefix
        {"13800138000", 2},
        {"1380013800", 0},       // shorter than every stored number
        {"call 5551234", 4},
        {"", 0},
        {"0000", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(found(list, c.text), c.index) << c.text;
}

TEST(PhonebookSearch, IndexesFollowChangesAndDeletes) {
    ContactList list;
    Node* a = list.Append(contact(10, {"12345"}));
    Node* b = list.Append(contact(11, {"2345"}));
    EXPECT_EQ(found(list, "0012345"), 10u);

    list.Replace(a, contact(10, {"999"}));
    EXPECT_EQ(found(list, "0012345"), 11u);
    EXPECT_EQ(found(list, "999"), 10u);
    EXPECT_EQ(list.FindByIndex(10), a);  // a change keeps the node in its place

    list.Remove(b);
    EXPECT_EQ(found(list, "0012345"), 0u);
    EXPECT_EQ(list.FindByIndex(11), nullptr);
    EXPECT_EQ(list.Size(), 1u);
    list.Clear();
    EXPECT_EQ(found(list, "999"), 0u);
}

TEST(PhonebookSearch, RemovingTheCursorNodeKeepsTheWalkGoing) {
    ContactList list;
    list.Append(contact(1, {"1"}));
    Node* second = list.Append(contact(2, {"2"}));
    list.Append(contact(3, {"3"}));
    list.First();
    ASSERT_EQ(list.Next(), second);
    list.Remove(second);
    Node* next = list.Next();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(+next->record->index, 3u);
    EXPECT_EQ(list.Next(), nullptr);
}

TEST(PhonebookSearch, AgreesWithTheStatedRuleOnRandomData) {
    std::mt19937 rng(7);
    auto digits = [&](int lo, int hi) {
        std::string s(std::uniform_int_distribution<int>(lo, hi)(rng), '0');
        for (char& c : s) c = static_cast<char>('0' + std::uniform_int_distribution<int>(0, 3)(rng));
        return s;
    };
    ContactList list;
    std::vector<Node*> nodes;
    for (std::uint32_t i = 1; i <= 400; ++i) {
        std::vector<std::string> numbers;
        for (int s = 0; s < VELK_NUMBER_SLOTS; ++s) numbers.push_back(rng() % 3 ? "" : digits(3, 7));
        nodes.push_back(list.Append(contact(i, numbers)));
    }
    // Some changes and deletes so the indexes are exercised, not only built.
    for (int k = 0; k < 100; ++k) {
        Node*& n = nodes[rng() % nodes.size()];
        if (!n) continue;
        if (k % 2) {
            list.Replace(n, contact(n->record->index, {digits(3, 6), "", digits(4, 8)}));
        } else {
            list.Remove(n);
            n = nullptr;
        }
    }
    int matches = 0;
    for (int q = 0; q < 3000; ++q) {
        const std::string text = digits(1, 14);
        const Node* want = reference(list, text);
        matches += want != nullptr;
        ASSERT_EQ(list.FindByNumber(text.data(), text.size()), want) << text;
    }
    EXPECT_GT(matches, 300);  // the data gives both outcomes plenty of times
    EXPECT_LT(matches, 2900);
}

}  // namespace
