#include "geometry/List.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

struct Item
{
    int id;
};

// Output of one call on both streams.
struct Streams
{
    std::string err, out;
};

template <typename F>
Streams captured(F &&call)
{
    CaptureStderr();
    CaptureStdout();
    call();
    Streams s;
    s.out = GetCapturedStdout();
    s.err = GetCapturedStderr();
    return s;
}

class ListTest : public testing::Test
{
protected:
    Item p1{1}, p2{2}, p3{3}, p4{4};
    List<Item> list;

    void fill()
    {
        list.append(&p1, 0);
        list.append(&p2, 0);
        list.append(&p3, 0);
    }

    // Items from head to tail, checking every link and the count on the way.
    std::vector<int> ids()
    {
        std::vector<int> result;
        const Node<Item> *prev = nullptr;
        for (auto *n = list.head; n; n = n->next) {
            EXPECT_EQ(n->prev, prev);
            result.push_back(n->item->id);
            prev = n;
        }
        EXPECT_EQ(list.tail, prev);
        EXPECT_EQ(list.count, result.size());
        return result;
    }
};

} // namespace

TEST_F(ListTest, EmptyListIndexing)
{
    Node<Item> *n = reinterpret_cast<Node<Item> *>(1);
    auto s = captured([&] { n = list.indexNode(0); });
    EXPECT_EQ(n, nullptr);
    EXPECT_EQ(s.err, "> List::indexNode: index 0 < 1.\n");
    s = captured([&] { n = list.indexNode(1); });
    EXPECT_EQ(n, nullptr);
    EXPECT_EQ(s.err, "> List::indexNode: 1 > list length.\n");
    s = captured([&] { list.indexNode(static_cast<std::uint32_t>(-1)); });
    EXPECT_EQ(s.err, "> List::indexNode: 4294967295 > list length.\n");
}

TEST_F(ListTest, EndsDoNotBuildTheCache)
{
    list.append(&p1, 0);
    EXPECT_EQ(list.indexNode(1)->item, &p1);
    EXPECT_FALSE(list.cacheValid);
    fill();
    EXPECT_EQ(list.indexNode(list.count)->item, &p3);
    EXPECT_FALSE(list.cacheValid);
}

TEST_F(ListTest, InnerIndexUsesCacheAndInsertionInvalidatesIt)
{
    fill();
    EXPECT_EQ(list.indexNode(2)->item, &p2);
    EXPECT_TRUE(list.cacheValid);
    ASSERT_TRUE(list.addAfterNode(&p4, list.indexNode(2), 0));
    EXPECT_FALSE(list.cacheValid);
    EXPECT_EQ(list.indexNode(3)->item, &p4);
    EXPECT_EQ(list.indexNode(4)->item, &p3);
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 4, 3}));
}

TEST_F(ListTest, InsertionAtTheEnds)
{
    fill();
    ASSERT_TRUE(list.addAfterNode(&p4, list.tail, 0));
    EXPECT_EQ(list.tail->item, &p4);
    Item p0{0};
    Streams s = captured([&] { EXPECT_TRUE(list.addBeforeNode(&p0, list.head, 0)); });
    EXPECT_EQ(s.out + s.err, "");
    EXPECT_EQ(list.head->item, &p0);
    EXPECT_EQ(ids(), (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_TRUE(list.addBeforeNode(&p4, list.tail, 0));
    EXPECT_EQ(ids(), (std::vector<int>{0, 1, 2, 3, 4, 4}));
}

TEST_F(ListTest, AddAfterFindsTheReferenceItem)
{
    fill();
    ASSERT_TRUE(list.addAfter(&p4, &p1, 0));
    EXPECT_EQ(ids(), (std::vector<int>{1, 4, 2, 3}));
    ASSERT_TRUE(list.addAfter(&p4, &p3, 0));
    EXPECT_EQ(list.tail->item, &p4);
}

TEST_F(ListTest, DuplicateScansOnlyWhenAskedWithOne)
{
    fill();
    Streams s = captured([&] { EXPECT_FALSE(list.append(&p2, 1)); });
    EXPECT_EQ(s.err, "> List::appendNode: item already exists in list.\n");
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(list.append(&p2, 0));
    EXPECT_TRUE(list.append(&p2, 2));
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3, 2, 2}));
}

TEST_F(ListTest, RemovalRelinksNeighbours)
{
    fill();
    list.removeNode(list.head);
    EXPECT_EQ(ids(), (std::vector<int>{2, 3}));
    EXPECT_EQ(list.head->prev, nullptr);
    list.removeNode(list.tail);
    EXPECT_EQ(ids(), (std::vector<int>{2}));
    list.removeNode(list.head);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0u);
    fill();
    list.removeNode(list.indexNode(2));
    EXPECT_EQ(ids(), (std::vector<int>{1, 3}));
}

TEST_F(ListTest, NodeLooksUpByIdentity)
{
    fill();
    EXPECT_EQ(list.node(&p3), list.tail);
    Streams s = captured([&] { EXPECT_EQ(list.node(&p4), nullptr); });
    EXPECT_EQ(s.err, "") << "an absent item is not an error";
}

TEST_F(ListTest, ReleaseNodesEmptiesTheList)
{
    fill();
    list.indexNode(2);
    list.releaseNodes();
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_FALSE(list.cacheValid);
    EXPECT_TRUE(list.append(&p1, 0));
    EXPECT_EQ(ids(), (std::vector<int>{1}));
}

// Every misuse writes its own line on its own stream and changes nothing.
TEST_F(ListTest, MisuseDiagnostics)
{
    fill();
    Node<Item> stranger(&p4);
    struct Case
    {
        const char *text;
        bool toOutput;
        std::function<bool()> call;
    };
    const Case cases[] = {
        {"> List::append: thisitem is NULL.", false, [&] { return list.append(nullptr, 0); }},
        {"> List::appendNode: thisnode is NULL.", false, [&] { return list.appendNode(nullptr, 0); }},
        {"> List::appendNode: item already exists in list.", false, [&] { return list.appendNode(list.head, 1); }},
        {"> List::addAfterNode: thisitem is NULL.", false, [&] { return list.addAfterNode(nullptr, list.head, 0); }},
        {"> List::addAfterNode: thisitem is NULL.", false, [&] { return list.addAfterNode(&p4, nullptr, 0); }},
        {"> List::addAfterNode: afterThisNode not in list.", false,
         [&] { return list.addAfterNode(&p4, &stranger, 0); }},
        {"> List::addAfterNode: thisitem is already in list.", false,
         [&] { return list.addAfterNode(&p1, list.head, 1); }},
        {"> List::addBeforeNode: thisitem is NULL.", true, [&] { return list.addBeforeNode(nullptr, list.head, 0); }},
        {"> List::addBeforeNode: beforeThisItem is NULL.", true, [&] { return list.addBeforeNode(&p4, nullptr, 0); }},
        {"> List::addBeforeNode: beforeThisNode not in list.", true,
         [&] { return list.addBeforeNode(&p4, &stranger, 0); }},
        {"> List::addBeforeNode: thisitem is already in list.", true,
         [&] { return list.addBeforeNode(&p3, list.head, 1); }},
        {"> List::addAfter: thisitem is NULL.", false, [&] { return list.addAfter(nullptr, &p1, 0); }},
        {"List::addAfter: afterThisItem is NULL.", false, [&] { return list.addAfter(&p4, nullptr, 0); }},
        {"> List::addAfterNode: thisitem is NULL.", false, [&] { return list.addAfter(&p4, &p4, 0); }},
        {"> List:node: thisItem is NULL.", false, [&] { return list.node(nullptr) != nullptr; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        bool result = true;
        const Streams s = captured([&] { result = c.call(); });
        EXPECT_FALSE(result);
        EXPECT_EQ(c.toOutput ? s.out : s.err, std::string(c.text) + "\n");
        EXPECT_EQ(c.toOutput ? s.err : s.out, "");
        EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3}));
    }
}

TEST_F(ListTest, RemoveNullAndSyncEmptyReport)
{
    Streams s = captured([&] { list.removeNode(nullptr); });
    EXPECT_EQ(s.err, "> List::removeIndex: Node is NULL\n");
    s = captured([&] { list.syncCache(); });
    EXPECT_EQ(s.err, "> syncCache(): head is NULL.\n");
    EXPECT_FALSE(list.cacheValid);
    EXPECT_EQ(list.count, 0u);
}
